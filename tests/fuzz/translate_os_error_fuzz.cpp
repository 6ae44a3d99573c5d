// TranslateOsError on any 32-bit code: always a number of the error table, 0 only for
// success, and the number our own table of codes gives.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "runtime/error_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every four bytes are one code, so that one input tries several.
  fuzz::Reader input(data, size);
  do {
    uint32_t code = input.Dword();
    uint32_t number = TranslateOsError(code);
    FUZZ_CHECK(fuzz::IsErrorTableNumber(number), "code %u gives %u", code, number);
    FUZZ_CHECK((number == 0) == (code == 0), "code %u gives %u", code, number);
    if (code >= 40) {
      uint32_t expected = code == 87 ? 5 : (code == 112 ? 61 : 75);
      FUZZ_CHECK(number == expected, "code %u gives %u, expected %u", code, number, expected);
    }
    FUZZ_CHECK(number == fuzz::ExpectedErrorNumber(code), "code %u gives %u, expected %u", code,
               number, fuzz::ExpectedErrorNumber(code));
  } while (input.RestSize() > 0);
  return 0;
}
