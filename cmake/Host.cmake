# The host build: the product on the stand-in platform, with AddressSanitizer and
# UndefinedBehaviorSanitizer, for unit tests.
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g ${SANITIZER_FLAGS})
add_link_options(${SANITIZER_FLAGS})

file(GLOB STANDIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/host/*.cpp)
add_library(standin STATIC ${STANDIN_SOURCES})
target_include_directories(standin PUBLIC ${CMAKE_SOURCE_DIR}/platform/host)
target_compile_options(standin PRIVATE ${WARNING_FLAGS})

add_library(product STATIC ${PRODUCT_SOURCES})
target_include_directories(product PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform/host)
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
