// What the fuzz targets share: a check that stops the run with a message (libFuzzer
// keeps the input that made it fire), a reader of the fuzzer's bytes, and oracles of
// our own for the rules that several targets depend on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
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

// The error number for each Win32 code, written from the list of numbers and the codes
// that lead to each; codes 40 and above other than 87 and 112 give 75.
inline uint8_t ExpectedErrorNumber(uint32_t code) {
  struct Group {
    uint8_t number;
    std::initializer_list<uint32_t> codes;
  };
  static const Group kGroups[] = {
      {5, {87}},
      {7, {8, 14}},
      {51, {6, 11, 12, 13, 22, 24}},
      {53, {2, 18}},
      {61, {39, 112}},
      {62, {38}},
      {67, {4}},
      {68, {15, 20}},
      {70, {5, 19, 32, 33, 36}},
      {71, {21}},
      {72, {23, 25, 26, 27, 28, 29, 30, 31, 34, 35}},
      {74, {17}},
      {75, {1, 16, 37}},
      {76, {3}},
      {241, {7, 9, 10}},
  };
  if (code == 0) {
    return 0;
  }
  for (const Group& group : kGroups) {
    for (uint32_t listed : group.codes) {
      if (listed == code) {
        return group.number;
      }
    }
  }
  return 75;
}

// Every number TranslateOsError may give.
inline bool IsErrorTableNumber(uint32_t number) {
  for (uint32_t known : {0, 5, 7, 51, 53, 61, 62, 67, 68, 70, 71, 72, 74, 75, 76, 241}) {
    if (number == known) {
      return true;
    }
  }
  return false;
}

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
