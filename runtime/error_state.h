// The run-time error state. No run-time operation stops the program or shows anything
// when it fails: it records an error number in the ErrorState of the innermost program
// procedure and returns normally, and that procedure goes on with its next statement.
#pragma once

#include "platform.h"

#include "runtime/fpu.h"

// One per activation of a program procedure.
struct ErrorState {
  BYTE number;        // 0: nothing recorded; otherwise the latest failure's number
  BYTE flags;         // 0xB0 once a failure is recorded (0x80 pending, 0x40 handler running)
  void (*handler)();  // the procedure's error handler; no procedure here has one
};

// Flags that RaiseError leaves in an ErrorState.
constexpr BYTE kErrorRecordedFlags = 0xB0;

// Every program procedure (the program entry, the window building and each call of the
// dialog callback) opens one ErrorScope on entry. It makes a clean ErrorState the
// thread's innermost one for as long as the activation lasts, and restores the outer
// one on return. A subroutine without a scope of its own shares its caller's state.
class ErrorScope {
 public:
  ErrorScope();
  ~ErrorScope();
  ErrorScope(const ErrorScope&) = delete;
  ErrorScope& operator=(const ErrorScope&) = delete;

  const ErrorState& State() const { return state_; }

 private:
  ErrorState state_{0, 0, nullptr};
  ErrorState* outer_ = nullptr;
  struct ThreadRecord* record_;
};

// Records a failure in the innermost ErrorState: the number (51 for 0) and the flags
// 0xB0. Outside of any program procedure there is nothing to record into.
void RaiseError(BYTE number);

// The number in the innermost ErrorState, left unchanged; 0 when nothing failed.
DWORD ErrorNumber();

// Turns a Win32 last-error code into an error number.
BYTE TranslateOsError(DWORD code);

// What a guarded call's last-error code said about it.
struct SystemCallVerdict {
  bool failed;  // the call left a nonzero last-error code
  DWORD code;   // that code
  BYTE number;  // TranslateOsError(code) when failed, else 0
};

// The part of GuardedSystemCall around the call itself. Opening it takes the guard
// lock, saves the floating-point unit (leaving it in its default state for the call),
// sets the error mode 0x8001 and clears the last-error code; Close restores the unit,
// reads the last-error code, restores the error mode, releases the lock and gives the
// verdict.
class SystemCallGuard {
 public:
  SystemCallGuard();
  SystemCallGuard(const SystemCallGuard&) = delete;
  SystemCallGuard& operator=(const SystemCallGuard&) = delete;
  SystemCallVerdict Close();

 private:
  FpuState fpu_{};
  UINT savedErrorMode_ = 0;
};

// Runs one operating-system call under the guard. The verdict rests on the last-error
// value alone: a call that fails without setting a code counts as a success, one that
// succeeds but leaves a code behind as a failure. The guard is not re-entrant.
template <typename Call>
auto GuardedSystemCall(Call call, SystemCallVerdict* verdict) -> decltype(call()) {
  SystemCallGuard guard;
  auto result = call();
  *verdict = guard.Close();
  return result;
}

// Frees the guard lock (start-up puts the run time's process-wide state in place).
void ResetGuardLock();
