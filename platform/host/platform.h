// The one platform header of the product, host build: the subset of Win32 that the
// product uses, with Win32's names, sizes and values, implemented by the stand-in
// platform (standin.h is its side for tests).
#pragma once

#include "win32_types.h"     // IWYU pragma: export
#include "win32_kernel.h"    // IWYU pragma: export
#include "win32_user.h"      // IWYU pragma: export
