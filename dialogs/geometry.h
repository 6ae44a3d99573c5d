// The toolkit's coordinate arithmetic. Positions and sizes are the platform's 32-bit
// values and a caller may pass any of them, so sums and differences wrap at 32 bits, as
// the platform's own arithmetic does: defined for every input, and exact whenever the
// true result is a 32-bit value.
#pragma once

#include "platform.h"

inline LONG WrapAdd(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<DWORD>(a) + static_cast<DWORD>(b));
}

inline LONG WrapSubtract(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<DWORD>(a) - static_cast<DWORD>(b));
}

inline LONG WrapMultiply(LONG a, LONG b) {
  return static_cast<LONG>(static_cast<DWORD>(a) * static_cast<DWORD>(b));
}

inline LONG WidthOf(const RECT& rect) {
  return WrapSubtract(rect.right, rect.left);
}

inline LONG HeightOf(const RECT& rect) {
  return WrapSubtract(rect.bottom, rect.top);
}

// The edges of the rectangle at (x, y) of the given size.
inline RECT EdgesOf(LONG x, LONG y, LONG width, LONG height) {
  return RECT{x, y, WrapAdd(x, width), WrapAdd(y, height)};
}

// Where a span of the given size starts when centred between low and high: the middle
// rounded down (an arithmetic shift), but not before low.
inline LONG CentredStart(LONG low, LONG high, LONG size) {
  LONG start = WrapSubtract(WrapAdd(low, high), size) >> 1;
  return start < low ? low : start;
}

// Pixels in dialog units, where `base` pixels (at least 1) make `units` units (4 across,
// 8 down), rounded to the nearest unit with halves away from zero. Split at whole bases
// so that no product overflows: exact for any pixels whenever base is below 2^27 (any
// font's) and the result fits.
inline LONG PixelsToUnits(LONG pixels, LONG base, LONG units) {
  LONG whole = pixels / base;
  LONG rest = pixels % base;  // the sign of pixels, so both parts round the same way
  LONG half = pixels >= 0 ? base / 2 : -(base / 2);
  return WrapAdd(WrapMultiply(whole, units), WrapAdd(WrapMultiply(rest, units), half) / base);
}
