// The toolkit's coordinate arithmetic on any 32-bit values, extremes included: defined
// (UBSan watches every operation), and equal to the exact result, worked out in 64 bits,
// whenever that result is a 32-bit value.
#include <cstddef>
#include <cstdint>

#include "dialogs/geometry.h"
#include "fuzz_support.h"

namespace {

bool Fits(int64_t value) {
  return value >= INT32_MIN && value <= INT32_MAX;
}

void CheckEdges(LONG x, LONG y, LONG width, LONG height) {
  RECT edges = EdgesOf(x, y, width, height);
  FUZZ_CHECK(edges.left == x && edges.top == y, "edges (%d, %d) of (%d, %d)", edges.left, edges.top,
             x, y);
  // The size comes back from the edges whatever wrapped, so a control's pixel width is
  // always the difference of its converted edges.
  FUZZ_CHECK(WidthOf(edges) == width && HeightOf(edges) == height,
             "size %d x %d came back as %d x %d", width, height, WidthOf(edges), HeightOf(edges));
  int64_t right = int64_t{x} + width;
  FUZZ_CHECK(!Fits(right) || edges.right == right, "%d + %d gave %d", x, width, edges.right);
}

void CheckCentring(LONG low, LONG high, LONG size) {
  LONG start = CentredStart(low, high, size);
  FUZZ_CHECK(start >= low, "%d starts before %d", start, low);
  int64_t twice = int64_t{low} + high - size;
  if (Fits(twice)) {
    int64_t middle = twice >= 0 ? twice / 2 : -((-twice + 1) / 2);  // rounded down
    int64_t expected = middle < low ? low : middle;
    FUZZ_CHECK(start == expected, "%d of [%d, %d] started at %d, expected %lld", size, low, high,
               start, static_cast<long long>(expected));
  }
}

void CheckUnits(LONG pixels, LONG base, LONG units) {
  LONG converted = PixelsToUnits(pixels, base, units);
  if (base >= (1 << 27)) {
    return;  // no font has such base units: defined is all that is asked
  }
  int64_t product = int64_t{pixels} * units;
  int64_t half = base / 2;
  int64_t expected = (product + (pixels >= 0 ? half : -half)) / base;
  FUZZ_CHECK(!Fits(expected) || converted == expected,
             "%d pixels at %d per %d units gave %d, expected %lld", pixels, base, units, converted,
             static_cast<long long>(expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Reader input(data, size);
  auto a = static_cast<LONG>(input.Dword());
  auto b = static_cast<LONG>(input.Dword());
  auto c = static_cast<LONG>(input.Dword());
  auto d = static_cast<LONG>(input.Dword());
  CheckEdges(a, b, c, d);
  CheckCentring(a, b, c);
  // Base units come from the platform, at least 1 pixel (the toolkit makes sure).
  LONG base = static_cast<LONG>(static_cast<uint32_t>(d) & 0x7FFFFFFF);
  CheckUnits(a, base != 0 ? base : 1, (input.Byte() & 1) != 0 ? 8 : 4);
  return 0;
}
