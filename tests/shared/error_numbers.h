// The error number that the run time records for each platform code, written from the
// list of numbers and the codes that lead to each (the run time's own table goes by code).
// Every code not listed, 40 and above included, gives kErrorPathFileAccess.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/error_state.h"

namespace error_numbers {

inline uint8_t Expected(uint32_t code) {
  struct Group {
    uint8_t number;
    std::initializer_list<uint32_t> codes;
  };
  static const Group kGroups[] = {
      {0, {ERROR_SUCCESS}},
      {kErrorInvalidArgument, {ERROR_INVALID_PARAMETER}},
      {kErrorOutOfMemory, {ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY}},
      {kErrorInternal,
       {ERROR_INVALID_HANDLE, ERROR_BAD_FORMAT, ERROR_INVALID_ACCESS, ERROR_INVALID_DATA,
        ERROR_BAD_COMMAND, ERROR_BAD_LENGTH}},
      {kErrorFileNotFound, {ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES}},
      {kErrorDiskFull, {ERROR_HANDLE_DISK_FULL, ERROR_DISK_FULL}},
      {kErrorPastEndOfFile, {ERROR_HANDLE_EOF}},
      {kErrorTooManyFiles, {ERROR_TOO_MANY_OPEN_FILES}},
      {kErrorDeviceUnavailable, {ERROR_INVALID_DRIVE, ERROR_BAD_UNIT}},
      {kErrorAccessDenied,
       {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION,
        ERROR_SHARING_BUFFER_EXCEEDED}},
      {kErrorDiskNotReady, {ERROR_NOT_READY}},
      {kErrorDiskMedia,
       {ERROR_CRC, ERROR_SEEK, ERROR_NOT_DOS_DISK, ERROR_SECTOR_NOT_FOUND, ERROR_OUT_OF_PAPER,
        ERROR_WRITE_FAULT, ERROR_READ_FAULT, ERROR_GEN_FAILURE, ERROR_WRONG_DISK, 35}},
      {kErrorOtherDevice, {ERROR_NOT_SAME_DEVICE}},
      {kErrorPathNotFound, {ERROR_PATH_NOT_FOUND}},
      {kErrorSystemMemory, {ERROR_ARENA_TRASHED, ERROR_INVALID_BLOCK, ERROR_BAD_ENVIRONMENT}},
  };
  for (const Group& group : kGroups) {
    for (uint32_t listed : group.codes) {
      if (listed == code) {
        return group.number;
      }
    }
  }
  return kErrorPathFileAccess;
}

// Every number the translation may give: those of the groups above and kErrorPathFileAccess.
inline bool IsKnown(uint32_t number) {
  for (uint32_t code = 0; code < 300; ++code) {  // every group has a code below 300
    if (Expected(code) == number) {
      return true;
    }
  }
  return false;
}

}  // namespace error_numbers
