#include "wizard/entry.h"

#include "dialogs/registry.h"
#include "runtime/error_state.h"
#include "wizard/window.h"

WideFixedText<kStartDirectorySize> StartDirectory;
SHORT StepCount;
HFONT BoldStepFont;
HFONT NormalStepFont;

// Start-up's reset of the program: its own globals at zero and the toolkit's registry
// empty.
void ResetProgramState() {
  for (WCHAR& c : StartDirectory.chars) {
    c = 0;
  }
  StepCount = 0;
  BoldStepFont = nullptr;
  NormalStepFont = nullptr;
  ResetWindowRegistry();
}

namespace {

// Room for a folder that fits StartDirectory, a backslash and a file name, in UTF-16 units.
constexpr DWORD kModulePathSize = kStartDirectorySize + MAX_PATH;

// The medium is the folder that holds this program's own file, never the working
// directory it was started in: that may be any folder (the system folder, when a launcher
// elevates it without one) and may hold same-named installers of its own, which would then
// run with administrator rights. The folder takes the form of a working directory: no
// backslash at its end except for a drive root (E:\). The path is read in UTF-16: the ANSI
// form turns every letter outside the code page into "?" and then names no folder. When
// the path cannot be had or does not fit, StartDirectory stays empty and no installer is
// started.
void FindStartDirectory() {
  WCHAR path[kModulePathSize];
  DWORD length = GetModuleFileNameW(nullptr, path, kModulePathSize);
  if (length >= kModulePathSize) {
    return;  // cut to the buffer, and then without its NUL
  }
  while (length > 0 && path[length - 1] != '\\') {
    --length;
  }
  if (length == 3 && path[1] == ':') {
    ++length;  // E:\ keeps its backslash
  }
  if (length > 1 && length <= kStartDirectorySize) {
    StartDirectory.Store(WideText{path, length - 1});
  }
}

}  // namespace

int RunSetupWizard(HINSTANCE /*instance*/, HINSTANCE /*previous*/, const char* /*commandTail*/,
                   int /*showCommand*/) {
  ErrorScope scope;
  FindStartDirectory();
  ShowWizardWindow(nullptr);  // its modal result does not matter here
  return 0;
}
