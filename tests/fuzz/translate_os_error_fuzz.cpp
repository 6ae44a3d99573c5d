// TranslateOsError on any 32-bit code: always a number of the error table, 0 only for
// success, and the number our own table of codes gives.
#include <cstddef>
#include <cstdint>

#include "error_numbers.h"
#include "fuzz_support.h"
#include "runtime/error_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every four bytes are one code, so that one input tries several.
  fuzz::Reader input(data, size);
  do {
    uint32_t code = input.Dword();
    uint32_t number = TranslateOsError(code);
    FUZZ_CHECK(error_numbers::IsKnown(number), "code %u gives %u", code, number);
    FUZZ_CHECK((number == 0) == (code == 0), "code %u gives %u", code, number);
    FUZZ_CHECK(number == error_numbers::Expected(code), "code %u gives %u, expected %u", code,
               number, error_numbers::Expected(code));
  } while (input.RestSize() > 0);
  return 0;
}
