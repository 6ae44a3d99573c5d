// SkipProgramName on any command line: the tail it finds lies within the text, never
// past its NUL, and is where an oracle of our own puts it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz_support.h"
#include "runtime/startup.h"

namespace {

// Where the tail starts, worked out on a string_view. A name in quotes runs to the next
// quote, and without one the tail is empty. A line that starts with a blank has an empty
// name. Otherwise the name is the first byte, whatever it is, and the run of bytes above
// 0x20 after it. A blank after the name is skipped with all the blanks that follow it;
// any other byte of 0x20 or below starts the tail.
size_t ExpectedTail(std::string_view line) {
  auto pastBlanks = [line](size_t from) {
    size_t next = line.find_first_not_of(' ', from);
    return next == std::string_view::npos ? line.size() : next;
  };
  if (!line.empty() && line.front() == '"') {
    size_t close = line.find('"', 1);
    return close == std::string_view::npos ? line.size() : pastBlanks(close + 1);
  }
  auto isSeparator = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t nameStart = !line.empty() && line.front() != ' ' ? 1 : 0;
  auto nameEnd = static_cast<size_t>(
      std::find_if(line.begin() + static_cast<std::ptrdiff_t>(nameStart), line.end(), isSeparator) -
      line.begin());
  if (nameEnd < line.size() && line[nameEnd] == ' ') {
    return pastBlanks(nameEnd);
  }
  return nameEnd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The command line is the input up to its first NUL, in a block of exactly that length
  // and the NUL, so that reading one byte past the NUL is caught by AddressSanitizer.
  size_t length = 0;
  while (length < size && data[length] != 0) {
    ++length;
  }
  std::unique_ptr<char[]> line(new char[length + 1]);
  std::copy(data, data + length, line.get());
  line[length] = '\0';

  const char* tail = SkipProgramName(line.get());
  FUZZ_CHECK(tail >= line.get() && tail <= line.get() + length,
             "tail at offset %td of a %zu-byte line", tail - line.get(), length);
  auto offset = static_cast<size_t>(tail - line.get());
  size_t expected = ExpectedTail(std::string_view(line.get(), length));
  FUZZ_CHECK(offset == expected, "tail at offset %zu, expected %zu, in %s", offset, expected,
             fuzz::LoggedText(std::string_view(line.get(), length)).c_str());
  return 0;
}
