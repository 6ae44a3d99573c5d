#include "runtime/error_state.h"

#include "runtime/thread_record.h"

namespace {

// The guard lock: one word for the whole process, -1 while a guarded call runs.
LONG volatile guardLock = 0;

constexpr UINT kGuardErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// Error numbers for the codes 0 to 39; code 0 means success and never gets here.
constexpr BYTE kOsErrorNumbers[40] = {
    0,   75, 53, 76, 67, 70, 51, 241, 7,  241,  // 0-9
    241, 51, 51, 51, 7,  68, 75, 74,  53, 70,   // 10-19
    68,  71, 51, 72, 51, 72, 72, 72,  72, 72,   // 20-29
    72,  72, 70, 70, 72, 72, 70, 75,  62, 61,   // 30-39
};

ErrorState* InnermostState() {
  ThreadRecord* record = CurrentThreadRecord();
  return record != nullptr ? record->activeErrorState : nullptr;
}

}  // namespace

ErrorScope::ErrorScope() : record_(CurrentThreadRecord()) {
  if (record_ != nullptr) {
    outer_ = record_->activeErrorState;
    record_->activeErrorState = &state_;
  }
}

ErrorScope::~ErrorScope() {
  if (record_ != nullptr) {
    record_->activeErrorState = outer_;
  }
}

void RaiseError(BYTE number) {
  ErrorState* state = InnermostState();
  if (state == nullptr) {
    return;
  }
  state->number = number != 0 ? number : 51;
  state->flags = kErrorRecordedFlags;
}

DWORD ErrorNumber() {
  const ErrorState* state = InnermostState();
  return state != nullptr ? state->number : 0;
}

BYTE TranslateOsError(DWORD code) {
  if (code < 40) {
    return kOsErrorNumbers[code];
  }
  if (code == ERROR_DISK_FULL) {
    return 61;
  }
  if (code == ERROR_INVALID_PARAMETER) {
    return 5;
  }
  return 75;
}

SystemCallGuard::SystemCallGuard() {
  while (InterlockedExchange(&guardLock, -1) != 0) {
  }
  SaveFpuState(&fpu_);
  savedErrorMode_ = SetErrorMode(kGuardErrorMode);
  SetLastError(0);
}

SystemCallVerdict SystemCallGuard::Close() {
  RestoreFpuState(&fpu_);
  DWORD code = GetLastError();
  SetErrorMode(savedErrorMode_);
  InterlockedExchange(&guardLock, 0);
  if (code == 0) {
    return SystemCallVerdict{false, 0, 0};
  }
  return SystemCallVerdict{true, code, TranslateOsError(code)};
}

void ResetGuardLock() {
  InterlockedExchange(&guardLock, 0);
}
