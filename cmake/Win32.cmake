# The real program: setup.exe for 32-bit Windows, without the C runtime.
enable_language(RC)

# No -fdata-sections: this MinGW names a zero-initialised global's own section .data$name,
# with its zeros stored in the file, where without it the global goes to .bss and takes
# no room in the file at all. Unused functions are still dropped (-ffunction-sections).
set(WIN32_CODE_FLAGS
    -Os -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector
    -ffunction-sections -fno-ident)

add_library(product STATIC ${PRODUCT_SOURCES})
target_include_directories(product PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform/win32)
target_compile_options(product PRIVATE ${PRODUCT_FLAGS} ${WIN32_CODE_FLAGS})

add_executable(setup WIN32 platform/win32/nocrt.cpp resources/setup.rc)
target_compile_options(setup PRIVATE ${PRODUCT_FLAGS} ${WIN32_CODE_FLAGS} -fno-builtin)
target_link_options(setup PRIVATE
    -nostdlib -nostartfiles -static -s
    -Wl,-e,_ProcessMain -Wl,-u,_ProcessMain
    -Wl,--subsystem,windows:5.01 -Wl,--major-os-version,5 -Wl,--minor-os-version,1
    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--gc-sections
    -Wl,-Map,${CMAKE_BINARY_DIR}/setup.map)
target_link_libraries(setup PRIVATE product kernel32 user32 gdi32 ole32 gcc)
set_target_properties(setup PROPERTIES OUTPUT_NAME setup SUFFIX .exe)

add_subdirectory(tests/wine)
add_subdirectory(demo)
add_subdirectory(bench)
add_subdirectory(tests/e2e)
