#include "runtime/process.h"

#include "runtime/error_state.h"

namespace {

// The platform calls a window hung when its thread has not looked at its queue for five
// seconds, so the wait looks at least once a second even when nothing arrives.
constexpr DWORD kQueueLookMs = 1000;

// Waits for the process to end. Meanwhile the thread answers what other threads and
// programs send it (an installer's WM_SETTINGCHANGE broadcast, a shutdown query, an
// accessibility tool) and repaints its windows; it takes nothing else from the queue,
// so posted messages and input wait for afterwards. Returns at the process's end, or
// when the wait fails.
DWORD WaitAnswering(HANDLE process) {
  for (;;) {
    DWORD woke =
        MsgWaitForMultipleObjects(1, &process, FALSE, kQueueLookMs, QS_SENDMESSAGE | QS_PAINT);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) {
      return woke;
    }
    // Every peek delivers the sent messages first; this one then takes only WM_PAINT.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE) != FALSE) {
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

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
    GuardedSystemCall([&] { return WaitAnswering(process.hProcess); }, &ignored);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return processId;
}

void DiscardQueuedInput(HWND window) {
  // Taken by message ranges: key, client-area mouse and non-client mouse messages. A peek
  // limited to the queue's input parts (PM_QS_KEY, PM_QS_MOUSE) leaves a click in place
  // on Wine.
  constexpr UINT kInputRanges[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST},
                                      {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  MSG message;
  for (const auto& range : kInputRanges) {
    while (PeekMessageA(&message, window, range[0], range[1], PM_REMOVE) != FALSE) {
    }
  }
}
