#include "runtime/directory.h"

#include "runtime/error_state.h"

void ChangeDirectory(Text path) {
  char buffer[kPathLimit + 1];
  DWORD length = path.length < kPathLimit ? path.length : kPathLimit;
  bool wildcard = false;
  // Every copied character is scanned, also those after an embedded NUL.
  for (DWORD i = 0; i < length; ++i) {
    buffer[i] = path.chars[i];
    if (buffer[i] == '*' || buffer[i] == '?') {
      wildcard = true;
    }
  }
  buffer[length] = '\0';

  if (wildcard) {
    RaiseError(kErrorPathNotFound);
    return;
  }
  SystemCallVerdict verdict;
  GuardedSystemCall([&] { return SetCurrentDirectoryA(buffer); }, &verdict);
  if (!verdict.failed) {
    return;
  }
  // A missing folder is a path not found, also where the platform calls it a file not
  // found (Wine does).
  RaiseError(verdict.number == kErrorFileNotFound ? kErrorPathNotFound : verdict.number);
}
