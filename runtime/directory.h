// Changing the working directory.
#pragma once

#include "platform.h"

#include "runtime/text.h"

// The longest path that reaches the platform; the rest is cut without notice.
constexpr DWORD kPathLimit = 255;

// Makes the path (only its first 255 characters) the process's current directory. A
// path with "*" or "?" records kErrorPathNotFound without asking the platform; a change
// the platform refuses records the translated number, with kErrorPathNotFound in place of
// kErrorFileNotFound.
void ChangeDirectory(Text path);
