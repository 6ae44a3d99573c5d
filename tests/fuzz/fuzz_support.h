// What the fuzz targets share: a check that stops the run with a message (libFuzzer
// keeps the input that made it fire), a reader of the fuzzer's bytes, and oracles of
// our own for the rules that several targets depend on (the error numbers' in
// tests/shared/error_numbers.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Stops the fuzzer when a property does not hold. Unlike assert it does not depend on
// NDEBUG, so it works in every build type.
#define FUZZ_CHECK(condition, ...)                                                            \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property failed: %s\n  ", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, __VA_ARGS__);                                                      \
      std::fprintf(stderr, "\n");                                                             \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

namespace fuzz {

// Takes fixed-size values from the front of the input; past its end they read as 0.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return size_ > 0 ? (--size_, *data_++) : 0; }

  uint16_t Word() {
    uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }

  uint32_t Dword() {
    uint32_t low = Word();
    return low | (static_cast<uint32_t>(Word()) << 16);
  }

  const uint8_t* Rest() const { return data_; }
  size_t RestSize() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
};

// A text as the stand-in's call log quotes it: \r, \n, \t and \" escaped, every other
// byte below 0x20, 0x7F, and (unless the text is UTF-8, as it shows UTF-16 texts) every
// byte from 0x80 up as \xNN.
inline std::string LoggedText(std::string_view text, bool utf8 = false) {
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte == '"') {
      out += "\\\"";
    } else if (byte < 0x20 || byte == 0x7F || (byte > 0x7F && !utf8)) {
      static const char kDigits[] = "0123456789ABCDEF";
      out += "\\x";
      out += kDigits[byte >> 4];
      out += kDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The first `limit` bytes of the input as the platform gets them: a C string, so cut at
// the first NUL.
inline std::string CStringPrefix(const uint8_t* data, size_t size, size_t limit) {
  std::string out;
  for (size_t i = 0; i < size && i < limit && data[i] != 0; ++i) {
    out += static_cast<char>(data[i]);
  }
  return out;
}

}  // namespace fuzz
