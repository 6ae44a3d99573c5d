#include "runtime/directory.h"

#include "runtime/error_state.h"

namespace {

constexpr BYTE kPathNotFound = 76;
constexpr BYTE kFileNotFound = 53;

}  // namespace

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
    RaiseError(kPathNotFound);
    return;
  }
  SystemCallVerdict verdict;
  GuardedSystemCall([&] { return SetCurrentDirectoryA(buffer); }, &verdict);
  if (!verdict.failed) {
    return;
  }
  RaiseError(verdict.number == kFileNotFound ? kPathNotFound : verdict.number);
}
