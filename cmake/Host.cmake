# The host build: the product on the stand-in platform, with AddressSanitizer and
# UndefinedBehaviorSanitizer, for unit tests.
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g ${SANITIZER_FLAGS})
add_link_options(${SANITIZER_FLAGS})

# Win32's types, constants and declarations come from the Win32 headers that Debian
# maintains with Wine (libwine-dev). They are someone else's code: included as system
# headers, so that our warnings stay away from them.
find_path(WINE_WINDOWS_INCLUDE windows.h PATHS /usr/include/wine/wine/windows NO_DEFAULT_PATH)
if(NOT WINE_WINDOWS_INCLUDE)
  message(FATAL_ERROR "Win32 headers not found in /usr/include/wine/wine/windows "
                      "(Debian: apt-get install libwine-dev)")
endif()

file(GLOB STANDIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/standin/*.cpp)
add_library(standin STATIC ${STANDIN_SOURCES})
target_include_directories(standin PUBLIC ${CMAKE_SOURCE_DIR}/tests/standin)
target_include_directories(standin SYSTEM PUBLIC ${WINE_WINDOWS_INCLUDE})
target_compile_options(standin PRIVATE ${WARNING_FLAGS})
# The call log names messages from the one table that the checks of both rings use.
target_include_directories(standin PRIVATE ${CMAKE_SOURCE_DIR}/tests/shared)

add_library(product STATIC ${PRODUCT_SOURCES})
target_include_directories(product PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/standin)
target_compile_options(product PRIVATE ${PRODUCT_FLAGS})
target_link_libraries(product PUBLIC standin)

# The fuzz preset builds the same two libraries, instrumented for libFuzzer as well,
# and the fuzz targets instead of the unit tests.
if(FUZZ_TARGETS)
  include(${CMAKE_SOURCE_DIR}/cmake/Fuzz.cmake)
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
add_subdirectory(tests/host)
add_subdirectory(resources)
