// Runs setup.exe from the root of a disc, as a person does: started by its path on the
// drive, with the drive's root as the working directory. Presses Install on each of the
// three steps (BM_CLICK to the button, as a click does), each once the step before has
// finished, then Done, and reports what happened; the installers it starts leave their
// own records on the disc for the calling script to read.
//
// usage: disc_run.exe DRIVE_LETTER
// exit code: 0 when the drive is a CD-ROM drive, every step finished and setup.exe ended
// with exit code 0; 1 otherwise
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kWizardCaption[] = "Quillmark Installer -- USB 2.0 Adapter";
constexpr char kBoxCaption[] = "Installation Warning";
constexpr int kInstallButtons[] = {1002, 1006, 1011};
constexpr int kDoneButton = 1007;

struct WindowSearch {
  DWORD processId;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof(caption));
  if (owner == search->processId && IsWindowVisible(window) &&
      std::string(caption) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The visible top-level window of the process with the caption, or nullptr.
HWND ProcessWindow(DWORD processId, const char* caption) {
  WindowSearch search = {processId, caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls every 50 ms until the condition holds; false after the time is up.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) {
      return false;
    }
    Sleep(50);
  }
  return true;
}

int Fail(const PROCESS_INFORMATION& process, const std::string& why) {
  std::printf("FAIL  %s\n", why.c_str());
  if (process.hProcess != nullptr) {
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  PROCESS_INFORMATION process{};
  if (argc != 2 || std::string(argv[1]).size() != 1) {
    return Fail(process, "usage: disc_run.exe DRIVE_LETTER");
  }
  std::string root = std::string(argv[1]) + ":\\";
  if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) {
    return Fail(process, "drive " + root + " is not a CD-ROM drive");
  }
  std::printf("drive %s is a CD-ROM drive\n", root.c_str());

  std::string setup = root + "setup.exe";
  std::string command = "\"" + setup + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(setup.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      root.c_str(), &startup, &process)) {
    return Fail(process, "cannot start " + setup + ", error " + std::to_string(GetLastError()));
  }
  std::printf("started %s in %s\n", command.c_str(), root.c_str());

  HWND wizard = nullptr;
  if (!WaitFor([&] { return (wizard = ProcessWindow(process.dwProcessId, kWizardCaption)); },
               30000)) {
    return Fail(process, "setup.exe showed no window");
  }
  for (int step = 1; step <= 3; ++step) {
    HWND install = GetDlgItem(wizard, kInstallButtons[step - 1]);
    if (!WaitFor([&] { return IsWindowEnabled(install) != FALSE; }, 10000)) {
      return Fail(process, "Install of step " + std::to_string(step) + " never became enabled");
    }
    PostMessageA(install, BM_CLICK, 0, 0);
    // The step is over when its button is disabled; a warning box means its installer
    // could not be started.
    bool finished = WaitFor(
        [&] {
          return IsWindowEnabled(install) == FALSE ||
                 ProcessWindow(process.dwProcessId, kBoxCaption) != nullptr;
        },
        30000);
    if (!finished || IsWindowEnabled(install) != FALSE) {
      return Fail(process,
                  "step " + std::to_string(step) + " did not finish" +
                      (finished ? " (setup.exe warned that its installer did not start)" : ""));
    }
    std::printf("step %d installed\n", step);
  }

  PostMessageA(GetDlgItem(wizard, kDoneButton), BM_CLICK, 0, 0);
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
    return Fail(process, "setup.exe did not end after Done");
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  std::printf("setup.exe ended with exit code %lu\n", code);
  return code == 0 ? 0 : 1;
}
