// UTF-16 texts in the tests, to and from UTF-8, in which the tests write texts and the
// stand-in keeps them. A lone surrogate is kept as it is (as WTF-8 does), so that any run
// of UTF-16 units comes back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace utf16 {

inline std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(more == 0 ? c : (0xFF << (7 - more) & 0xFF) | c >> (6 * more));
    while (more-- > 0) {
      out += static_cast<char>(0x80 | (c >> (6 * more) & 0x3F));
    }
  }
  return out;
}

inline std::u16string FromUtf8(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i++]);
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = more == 0 ? lead : lead & (0x3F >> more);
    for (; more > 0 && i < text.size(); --more) {
      c = c << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + (c & 0x3FF);
    }
    out += static_cast<char16_t>(c);
  }
  return out;
}

}  // namespace utf16
