#include "runtime/error_state.h"

#include "runtime/thread_record.h"

namespace {

// The guard lock: one word for the whole process, -1 while a guarded call runs.
LONG volatile guardLock = 0;

constexpr UINT kGuardErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// The platform's codes below 40 that have an error number of their own; the others give
// kErrorPathFileAccess, as every code from 40 on does but two.
struct OsError {
  DWORD code;
  BYTE number;
};
constexpr OsError kOsErrors[] = {
    {ERROR_FILE_NOT_FOUND, kErrorFileNotFound},
    {ERROR_PATH_NOT_FOUND, kErrorPathNotFound},
    {ERROR_TOO_MANY_OPEN_FILES, kErrorTooManyFiles},
    {ERROR_ACCESS_DENIED, kErrorAccessDenied},
    {ERROR_INVALID_HANDLE, kErrorInternal},
    {ERROR_ARENA_TRASHED, kErrorSystemMemory},
    {ERROR_NOT_ENOUGH_MEMORY, kErrorOutOfMemory},
    {ERROR_INVALID_BLOCK, kErrorSystemMemory},
    {ERROR_BAD_ENVIRONMENT, kErrorSystemMemory},
    {ERROR_BAD_FORMAT, kErrorInternal},
    {ERROR_INVALID_ACCESS, kErrorInternal},
    {ERROR_INVALID_DATA, kErrorInternal},
    {ERROR_OUTOFMEMORY, kErrorOutOfMemory},
    {ERROR_INVALID_DRIVE, kErrorDeviceUnavailable},
    {ERROR_NOT_SAME_DEVICE, kErrorOtherDevice},
    {ERROR_NO_MORE_FILES, kErrorFileNotFound},
    {ERROR_WRITE_PROTECT, kErrorAccessDenied},
    {ERROR_BAD_UNIT, kErrorDeviceUnavailable},
    {ERROR_NOT_READY, kErrorDiskNotReady},
    {ERROR_BAD_COMMAND, kErrorInternal},
    {ERROR_CRC, kErrorDiskMedia},
    {ERROR_BAD_LENGTH, kErrorInternal},
    {ERROR_SEEK, kErrorDiskMedia},
    {ERROR_NOT_DOS_DISK, kErrorDiskMedia},
    {ERROR_SECTOR_NOT_FOUND, kErrorDiskMedia},
    {ERROR_OUT_OF_PAPER, kErrorDiskMedia},
    {ERROR_WRITE_FAULT, kErrorDiskMedia},
    {ERROR_READ_FAULT, kErrorDiskMedia},
    {ERROR_GEN_FAILURE, kErrorDiskMedia},
    {ERROR_SHARING_VIOLATION, kErrorAccessDenied},
    {ERROR_LOCK_VIOLATION, kErrorAccessDenied},
    {ERROR_WRONG_DISK, kErrorDiskMedia},
    {35, kErrorDiskMedia},  // a file control block unavailable; not named in every header set
    {ERROR_SHARING_BUFFER_EXCEEDED, kErrorAccessDenied},
    {ERROR_HANDLE_EOF, kErrorPastEndOfFile},
    {ERROR_HANDLE_DISK_FULL, kErrorDiskFull},
};

// The same as one byte a code, 0 to 39, made when compiling; code 0 means success and is
// never looked up.
constexpr DWORD kTableCodes = 40;
struct OsErrorTable {
  BYTE numbers[kTableCodes];
};
constexpr OsErrorTable MakeOsErrorTable() {
  OsErrorTable table{};
  for (DWORD code = 1; code < kTableCodes; ++code) {
    table.numbers[code] = kErrorPathFileAccess;
  }
  for (const OsError& error : kOsErrors) {
    table.numbers[error.code] = error.number;
  }
  return table;
}
constexpr OsErrorTable kOsErrorNumbers = MakeOsErrorTable();

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
  state->number = number != 0 ? number : kErrorInternal;
  state->flags = kErrorRecordedFlags;
}

DWORD ErrorNumber() {
  const ErrorState* state = InnermostState();
  return state != nullptr ? state->number : 0;
}

BYTE TranslateOsError(DWORD code) {
  if (code < kTableCodes) {
    return kOsErrorNumbers.numbers[code];
  }
  if (code == ERROR_DISK_FULL) {
    return kErrorDiskFull;
  }
  if (code == ERROR_INVALID_PARAMETER) {
    return kErrorInvalidArgument;
  }
  return kErrorPathFileAccess;
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
