// The one platform header of the product, Windows build: the real thing.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// COM's start and end, after windows.h, whose types it takes for granted.
#include <objbase.h>
