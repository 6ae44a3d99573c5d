// The one platform header of the product, host build: the same header as the Windows
// build's, here finding Win32's own types, constants and declarations in the Win32
// headers that Debian maintains with Wine (package libwine-dev), and implemented by the
// stand-in platform (standin.h is its side for tests). On x86-64 these headers give
// Win32's sizes (a LONG is 32 bits, a WPARAM 64) and declare the calls with the
// platform's calling convention, which the stand-in's definitions share.
#pragma once

#include "../../platform/win32/platform.h"  // IWYU pragma: export

// Macros of the headers that take common words: "small" is an IDL type of rpcndr.h, and
// the neutral names stand for the A or W call. The product calls the A functions by
// their full names, and the stand-in's test side uses these words for its own.
#undef small
#undef MessageBox
#undef SetCurrentDirectory
