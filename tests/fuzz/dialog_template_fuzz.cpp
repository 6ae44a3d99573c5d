// The in-memory dialog template for any style, position, size, point size and face: a
// parser of the plain DLGTEMPLATE of our own reads back exactly what was asked for, in
// exactly the size reported, never more than 92 bytes; and the adjusted style obeys the
// rules for dialog styles.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "dialogs/construction.h"
#include "fuzz_support.h"

namespace {

constexpr uint32_t kPopup = 0x80000000;            // WS_POPUP
constexpr uint32_t kChild = 0x40000000;            // WS_CHILD
constexpr uint32_t kVisible = 0x10000000;          // WS_VISIBLE
constexpr uint32_t kCenter = 0x800;                // DS_CENTER
constexpr uint32_t kAlwaysOn = 0x40 | 0x10 | 0x4;  // DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK
constexpr uint32_t kSysModal = 0x2;                // DS_SYSMODAL
constexpr uint32_t kAbsAlign = 0x1;                // DS_ABSALIGN
constexpr uint32_t kSetFont = 0x40;                // DS_SETFONT
constexpr uint32_t kDefaultStyle = 0x80C000D4;
constexpr uint32_t kNoPositionValue = 0x80000000;
constexpr size_t kFaceUnits = 32;
constexpr uint8_t kPoison = 0xA5;

// What a plain DLGTEMPLATE holds, as read from its bytes.
struct ParsedTemplate {
  uint32_t style = 0;
  uint32_t extendedStyle = 0;
  uint16_t items = 0;
  uint16_t x = 0, y = 0, cx = 0, cy = 0;
  std::vector<uint16_t> menu, windowClass, title;  // 0xFFFF and an ordinal, or a text
  bool hasFont = false;
  uint16_t pointSize = 0;
  std::vector<uint16_t> face;
  size_t size = 0;  // bytes read
};

// Reads little-endian fields from a block of known length; reading past it fails.
class TemplateParser {
 public:
  TemplateParser(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}

  bool Parse(ParsedTemplate* out) {
    if (!Dword(&out->style) || !Dword(&out->extendedStyle) || !Word(&out->items) ||
        !Word(&out->x) || !Word(&out->y) || !Word(&out->cx) || !Word(&out->cy) ||
        !NameOrOrdinal(&out->menu) || !NameOrOrdinal(&out->windowClass) || !Text(&out->title)) {
      return false;
    }
    out->hasFont = (out->style & kSetFont) != 0;
    if (out->hasFont && (!Word(&out->pointSize) || !Text(&out->face))) {
      return false;
    }
    out->size = at_;
    return true;
  }

 private:
  bool Word(uint16_t* value) {
    if (at_ + 2 > length_) {
      return false;
    }
    *value = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return true;
  }

  bool Dword(uint32_t* value) {
    uint16_t low = 0;
    uint16_t high = 0;
    if (!Word(&low) || !Word(&high)) {
      return false;
    }
    *value = low | static_cast<uint32_t>(high) << 16;
    return true;
  }

  // A zero-terminated UTF-16 text; the units without the zero.
  bool Text(std::vector<uint16_t>* units) {
    uint16_t unit = 0;
    while (Word(&unit)) {
      if (unit == 0) {
        return true;
      }
      units->push_back(unit);
    }
    return false;
  }

  // 0 for none, 0xFFFF and an ordinal, or a text.
  bool NameOrOrdinal(std::vector<uint16_t>* units) {
    uint16_t first = 0;
    if (!Word(&first)) {
      return false;
    }
    if (first == 0) {
      return true;
    }
    units->push_back(first);
    if (first == 0xFFFF) {
      uint16_t ordinal = 0;
      if (!Word(&ordinal)) {
        return false;
      }
      units->push_back(ordinal);
      return true;
    }
    return Text(units);
  }

  const uint8_t* bytes_;
  size_t length_;
  size_t at_ = 0;
};

void CheckStyle(uint32_t asked, uint32_t style, uint32_t x, uint32_t y, bool parent) {
  FUZZ_CHECK((style & (kVisible | kSysModal)) == 0, "style 0x%X became 0x%X", asked, style);
  FUZZ_CHECK((style & kAlwaysOn) == kAlwaysOn, "style 0x%X became 0x%X", asked, style);
  FUZZ_CHECK((style & (kChild | kPopup)) != (kChild | kPopup), "style 0x%X became 0x%X", asked,
             style);
  uint32_t base = asked == 0 ? kDefaultStyle : asked;
  bool centred = x == kNoPositionValue || y == kNoPositionValue;
  FUZZ_CHECK((style & kCenter) == (centred ? kCenter : (base & kCenter)),
             "style 0x%X at (0x%X, 0x%X) became 0x%X", asked, x, y, style);
  // A child dialog needs a parent to be one; without, it becomes a pop-up. Either way it
  // is not aligned to the screen.
  if ((base & kChild) != 0) {
    uint32_t kind = parent ? kChild : kPopup;
    FUZZ_CHECK((style & (kChild | kPopup | kAbsAlign)) == kind,
               "child style 0x%X (parent %d) became 0x%X", asked, parent, style);
  } else {
    FUZZ_CHECK((style & (kChild | kPopup | kAbsAlign)) == (base & (kPopup | kAbsAlign)),
               "style 0x%X (parent %d) became 0x%X", asked, parent, style);
  }
  // No other bit is touched.
  uint32_t ruled = kVisible | kSysModal | kAlwaysOn | kCenter | kChild | kPopup | kAbsAlign;
  FUZZ_CHECK((style & ~ruled) == (base & ~ruled), "style 0x%X became 0x%X", asked, style);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Reader input(data, size);
  uint32_t asked = input.Dword();
  uint32_t extendedStyle = input.Dword();
  uint32_t x = input.Dword();
  uint32_t y = input.Dword();
  uint32_t width = input.Dword();
  uint32_t height = input.Dword();
  uint32_t pointSize = input.Dword();
  bool parent = (input.Byte() & 1) != 0;
  // The face is a block of exactly 32 units, as a thread's font setting holds it, with or
  // without a zero; units the input does not give are zero.
  std::unique_ptr<WCHAR[]> face(new WCHAR[kFaceUnits]);
  for (size_t i = 0; i < kFaceUnits; ++i) {
    face[i] = input.Word();
  }

  HWND owner = parent ? reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)) : nullptr;
  DWORD style = AdjustDialogStyle(asked, static_cast<LONG>(x), static_cast<LONG>(y), owner);
  CheckStyle(asked, style, x, y, parent);

  // A block of exactly the capacity, filled with a pattern to see what was written.
  std::unique_ptr<BYTE[]> storage(new BYTE[kTemplateCapacity]);
  std::memset(storage.get(), kPoison, kTemplateCapacity);
  auto& buffer = *reinterpret_cast<BYTE(*)[kTemplateCapacity]>(storage.get());
  DWORD written =
      WriteDialogTemplate(buffer, style, extendedStyle, static_cast<LONG>(x), static_cast<LONG>(y),
                          static_cast<LONG>(width), static_cast<LONG>(height), face.get(),
                          static_cast<LONG>(pointSize));
  FUZZ_CHECK(written <= 92, "%u bytes written", written);
  for (size_t i = written; i < kTemplateCapacity; ++i) {
    FUZZ_CHECK(storage[i] == kPoison, "byte %zu written beyond the reported %u", i, written);
  }

  ParsedTemplate parsed;
  FUZZ_CHECK(TemplateParser(storage.get(), written).Parse(&parsed),
             "the %u bytes written do not hold a whole template", written);
  FUZZ_CHECK(parsed.size == written, "a template of %zu bytes, reported as %u", parsed.size,
             written);
  FUZZ_CHECK(parsed.style == style, "style 0x%X, written 0x%X", style, parsed.style);
  FUZZ_CHECK(parsed.extendedStyle == extendedStyle, "extended style 0x%X, written 0x%X",
             extendedStyle, parsed.extendedStyle);
  FUZZ_CHECK(parsed.items == 0, "%u items", parsed.items);
  FUZZ_CHECK(parsed.x == (x & 0xFFFF) && parsed.y == (y & 0xFFFF),
             "position (0x%X, 0x%X), written (0x%X, 0x%X)", x, y, parsed.x, parsed.y);
  FUZZ_CHECK(parsed.cx == (width & 0xFFFF) && parsed.cy == (height & 0xFFFF),
             "size (0x%X, 0x%X), written (0x%X, 0x%X)", width, height, parsed.cx, parsed.cy);
  FUZZ_CHECK(parsed.menu.empty() && parsed.windowClass.empty(), "a menu or a window class");
  FUZZ_CHECK(parsed.title == std::vector<uint16_t>{0x20}, "the title is not one blank");
  FUZZ_CHECK(parsed.hasFont, "no font");
  FUZZ_CHECK(parsed.pointSize == (pointSize & 0xFFFF), "point size 0x%X, written 0x%X", pointSize,
             parsed.pointSize);
  std::vector<uint16_t> expectedFace;
  for (size_t i = 0; i < kFaceUnits - 1 && face[i] != 0; ++i) {
    expectedFace.push_back(face[i]);
  }
  FUZZ_CHECK(parsed.face == expectedFace, "face of %zu units written as %zu units",
             expectedFace.size(), parsed.face.size());
  return 0;
}
