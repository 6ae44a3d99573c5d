#include "wizard/entry.h"

#include "dialogs/registry.h"
#include "runtime/error_state.h"
#include "wizard/window.h"

FixedText<kStartDirectorySize> StartDirectory;
SHORT StepCount;
HFONT BoldStepFont;
HFONT NormalStepFont;

void ZeroProgramGlobals() {
  for (char& c : StartDirectory.chars) {
    c = '\0';
  }
  StepCount = 0;
  BoldStepFont = nullptr;
  NormalStepFont = nullptr;
}

// Start-up's reset of the program: its own globals and the toolkit's empty registry.
void ResetProgramState() {
  ZeroProgramGlobals();
  ResetWindowRegistry();
}

int RunSetupWizard(HINSTANCE /*instance*/, HINSTANCE /*previous*/, const char* /*commandTail*/,
                   int /*showCommand*/) {
  ErrorScope scope;
  // A directory longer than the buffer is not written at all; StartDirectory then stays
  // empty and the installer folders are taken from the root of the current drive.
  GetCurrentDirectoryA(kStartDirectorySize, StartDirectory.chars);
  ShowWizardWindow(nullptr);  // its modal result does not matter here
  return 0;
}
