// The run-time error state. No run-time operation stops the program or shows anything
// when it fails: it records an error number in the ErrorState of the innermost program
// procedure and returns normally, and that procedure goes on with its next statement.
#pragma once

#include "platform.h"

#include "runtime/fpu.h"

// The error numbers the run time records, by what failed. TranslateOsError gives them for
// the platform's codes; the wizard tells a person why an installer did not start by them.
constexpr BYTE kErrorInvalidArgument = 5;     // ERROR_INVALID_PARAMETER
constexpr BYTE kErrorOutOfMemory = 7;         // also: no memory for a text value
constexpr BYTE kErrorInternal = 51;           // also: a failure recorded with the number 0
constexpr BYTE kErrorFileNotFound = 53;       // ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES
constexpr BYTE kErrorDiskFull = 61;           // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL
constexpr BYTE kErrorPastEndOfFile = 62;      // ERROR_HANDLE_EOF
constexpr BYTE kErrorTooManyFiles = 67;       // ERROR_TOO_MANY_OPEN_FILES
constexpr BYTE kErrorDeviceUnavailable = 68;  // ERROR_INVALID_DRIVE, ERROR_BAD_UNIT
constexpr BYTE kErrorAccessDenied = 70;       // ERROR_ACCESS_DENIED, sharing and locks
constexpr BYTE kErrorDiskNotReady = 71;       // ERROR_NOT_READY
constexpr BYTE kErrorDiskMedia = 72;          // a damaged or wrong disk
constexpr BYTE kErrorOtherDevice = 74;        // ERROR_NOT_SAME_DEVICE
constexpr BYTE kErrorPathFileAccess = 75;     // every code without a number of its own
constexpr BYTE kErrorPathNotFound = 76;       // ERROR_PATH_NOT_FOUND; a wildcard in a path
constexpr BYTE kErrorSystemMemory = 241;      // the platform's own memory blocks damaged

// One per activation of a program procedure.
struct ErrorState {
  BYTE number;        // 0: nothing recorded; otherwise the latest failure's number
  BYTE flags;         // 0 until a failure is recorded; then kErrorRecordedFlags
  void (*handler)();  // the procedure's error handler; no procedure here has one
};

// Flags that RaiseError leaves in an ErrorState: 0x80 marks the error as pending for a
// handler to take, 0x20 and 0x10 go with every recorded error. 0x40, which marks a
// handler as running, is never set: no procedure here has a handler.
constexpr BYTE kErrorPending = 0x80;
constexpr BYTE kErrorRecordedFlags = kErrorPending | 0x20 | 0x10;
static_assert(kErrorRecordedFlags == 0xB0, "the flags of a recorded error");

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

// Records a failure in the innermost ErrorState: the number (kErrorInternal for 0) and
// kErrorRecordedFlags. Outside of any program procedure there is nothing to record into.
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
