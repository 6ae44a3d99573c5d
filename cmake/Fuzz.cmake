# The fuzz build, included from Host.cmake: the product and the stand-in built as for
# the host tests (same warnings, AddressSanitizer and UndefinedBehaviorSanitizer) and
# instrumented for libFuzzer's coverage, and one libFuzzer program per fuzz target.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "the fuzz preset needs clang++ (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}")
endif()

# The libraries get coverage instrumentation but not libFuzzer's main; each function in a
# section of its own, so that a target links only the code it reaches.
set(FUZZ_LIBRARY_FLAGS -fsanitize=fuzzer-no-link -ffunction-sections -fdata-sections)
target_compile_options(standin PRIVATE ${FUZZ_LIBRARY_FLAGS})
target_compile_options(product PRIVATE ${FUZZ_LIBRARY_FLAGS})

# lld leaves out of a link what no kept section refers to, undefined references included,
# so a target links even while parts of the stand-in it never reaches do not exist yet.
find_program(FUZZ_LLD ld.lld)
if(FUZZ_LLD)
  set(FUZZ_LINKER_FLAGS -fuse-ld=lld)
endif()

add_subdirectory(${CMAKE_SOURCE_DIR}/tests/fuzz ${CMAKE_BINARY_DIR}/tests/fuzz)
