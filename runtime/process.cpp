#include "runtime/process.h"

#include "runtime/error_state.h"

DWORD RunProgram(WideText command, int showCommand, bool wait) {
  // CreateProcessW may write into the command line, so it gets a private copy.
  WCHAR commandLine[kCommandLimit + 1];
  DWORD length = command.length < kCommandLimit ? command.length : kCommandLimit;
  for (DWORD i = 0; i < length; ++i) {
    commandLine[i] = command.chars[i];
  }
  commandLine[length] = 0;

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(static_cast<DWORD>(showCommand) & 0x7FFF);
  PROCESS_INFORMATION process{};
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(security);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = FALSE;

  // No application name: the platform takes the program from the command line's first
  // token. No environment and no directory: the child gets copies of ours.
  SystemCallVerdict verdict;
  BOOL started = GuardedSystemCall(
      [&] {
        return CreateProcessW(nullptr, commandLine, &security, &security, FALSE,
                              NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process);
      },
      &verdict);
  if (started == FALSE && verdict.failed) {
    RaiseError(verdict.number);
    return 0;
  }

  DWORD processId = process.dwProcessId;
  if (wait) {
    SystemCallVerdict ignored;
    GuardedSystemCall([&] { return WaitForSingleObject(process.hProcess, INFINITE); }, &ignored);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return processId;
}
