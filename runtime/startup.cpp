#include "runtime/startup.h"

#include "runtime/error_state.h"
#include "runtime/fpu.h"
#include "runtime/thread_record.h"

namespace {

StartupValues startupValues;

constexpr UINT kNoSlotExitCode = 255;

// Libraries come from the system folder only. A library that the system does not pin is
// otherwise looked for first in the folder of setup.exe, and a downloads folder holds
// whatever a web page saved there: a uxtheme.dll beside setup.exe would run elevated
// inside it as soon as a window is made. Windows 8 and later (and Vista and 7 with their
// security update) restrict the search to the system folder; XP SP1 and later at least
// take the working directory out of it. Both calls are looked up, as older systems lack
// them; without either the search stays as it is. (The detour through void (*)() tells
// the compiler that the function's type is meant.)
void RestrictLibrarySearch() {
  HMODULE kernel = GetModuleHandleA("KERNEL32");
  auto setDefault = reinterpret_cast<BOOL(WINAPI*)(DWORD)>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return;
  }
  auto setDllDirectory = reinterpret_cast<BOOL(WINAPI*)(LPCSTR)>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDllDirectory != nullptr) {
    setDllDirectory("");
  }
}

}  // namespace

const StartupValues& Startup() {
  return startupValues;
}

HINSTANCE ProgramInstance() {
  return startupValues.instance;
}

void RecordProgramInstance(HINSTANCE instance) {
  startupValues.instance = instance;
}

const char* SkipProgramName(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '"') {
      if (*p == '\0') {
        return p;  // no closing quote: the tail is empty
      }
      ++p;
    }
    ++p;
  } else if (*p != ' ' && *p != '\0') {
    // The first character is the name's whatever it is, a tab or another control
    // character too; every following one above 0x20 belongs to it as well.
    do {
      ++p;
    } while (static_cast<unsigned char>(*p) > 0x20);
    if (*p != ' ') {
      return p;  // the NUL, a tab or another control character begins the tail
    }
  }
  while (*p == ' ') {
    ++p;
  }
  return p;
}

extern "C" __attribute__((force_align_arg_pointer)) void ProcessMain() {
  RestrictLibrarySearch();  // first: COM and the windows load libraries
  CoInitialize(nullptr);

  // The program's constant data is in place already: it is all static.
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  startupValues.version = version;

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = 0;
  GetStartupInfoA(&startup);
  startupValues.showCommand =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  startupValues.commandTail = SkipProgramName(GetCommandLineA());
  startupValues.instance = GetModuleHandleA(nullptr);

  UINT exitCode = kNoSlotExitCode;
  if (OpenThreadSlot()) {
    ResetProgramState();
    ResetGuardLock();
    SetFpuControlWord(kProgramFpuControlWord);
    exitCode = static_cast<UINT>(RunSetupWizard(
        startupValues.instance, nullptr, startupValues.commandTail, startupValues.showCommand));
    // The program keeps no dynamic values for the run time to release at exit.
    CloseThreadSlot();
  }
  CoUninitialize();
  ExitProcess(exitCode);
}
