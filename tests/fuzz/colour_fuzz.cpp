// The colour rules on any 32-bit values: a text colour is an RGB value or the default
// (-1), a background colour also may be transparent (-2); normalising twice changes
// nothing more; MakeColour gives an RGB value with each part clamped to 0..255. Each is
// compared with an oracle of our own.
#include <cstddef>
#include <cstdint>

#include "dialogs/controls.h"
#include "fuzz_support.h"

namespace {

constexpr int32_t kDefault = -1;
constexpr int32_t kTransparent = -2;

bool IsRgb(int32_t colour) {
  return colour >= 0 && colour <= 0xFFFFFF;
}

// A negative text colour is the default; any other keeps its red, green and blue bytes.
int32_t ExpectedText(uint32_t raw) {
  return (raw & 0x80000000u) != 0 ? kDefault : static_cast<int32_t>(raw % 0x1000000u);
}

// As for text, except that -2 (transparent) is kept.
int32_t ExpectedBackground(uint32_t raw) {
  return raw == 0xFFFFFFFEu ? kTransparent : ExpectedText(raw);
}

uint32_t ClampedPart(int32_t part) {
  if (part < 0) {
    return 0;
  }
  return part > 255 ? 255u : static_cast<uint32_t>(part);
}

void CheckOne(uint32_t raw) {
  auto value = static_cast<Colour>(raw);
  Colour text = NormaliseTextColour(value);
  FUZZ_CHECK(IsRgb(text) || text == kDefault, "text colour 0x%X gives %d", raw, text);
  FUZZ_CHECK(NormaliseTextColour(text) == text, "text colour 0x%X: %d then %d", raw, text,
             NormaliseTextColour(text));
  FUZZ_CHECK(text == ExpectedText(raw), "text colour 0x%X gives %d, expected %d", raw, text,
             ExpectedText(raw));

  Colour background = NormaliseBackgroundColour(value);
  FUZZ_CHECK(IsRgb(background) || background == kDefault || background == kTransparent,
             "background colour 0x%X gives %d", raw, background);
  FUZZ_CHECK(NormaliseBackgroundColour(background) == background,
             "background colour 0x%X: %d then %d", raw, background,
             NormaliseBackgroundColour(background));
  FUZZ_CHECK(background == ExpectedBackground(raw), "background colour 0x%X gives %d, expected %d",
             raw, background, ExpectedBackground(raw));
}

void CheckMake(uint32_t red, uint32_t green, uint32_t blue) {
  auto r = static_cast<int32_t>(red);
  auto g = static_cast<int32_t>(green);
  auto b = static_cast<int32_t>(blue);
  Colour made = MakeColour(r, g, b);
  FUZZ_CHECK(IsRgb(made), "MakeColour(%d, %d, %d) gives %d", r, g, b, made);
  auto expected = static_cast<int32_t>(ClampedPart(r) | ClampedPart(g) << 8 | ClampedPart(b) << 16);
  FUZZ_CHECK(made == expected, "MakeColour(%d, %d, %d) gives 0x%X, expected 0x%X", r, g, b, made,
             expected);
  // Taken apart and made again, a colour stays what it is.
  Colour again = MakeColour(made & 0xFF, (made >> 8) & 0xFF, (made >> 16) & 0xFF);
  FUZZ_CHECK(again == made, "MakeColour of the parts of 0x%X gives 0x%X", made, again);
  FUZZ_CHECK(NormaliseTextColour(made) == made && NormaliseBackgroundColour(made) == made,
             "the normalisers change the RGB value 0x%X", made);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every four bytes are one value; every run of three values is also a red, green and
  // blue for MakeColour.
  fuzz::Reader input(data, size);
  do {
    uint32_t red = input.Dword();
    uint32_t green = input.Dword();
    uint32_t blue = input.Dword();
    CheckOne(red);
    CheckOne(green);
    CheckOne(blue);
    CheckMake(red, green, blue);
  } while (input.RestSize() > 0);
  return 0;
}
