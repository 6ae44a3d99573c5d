# The real program: setup.exe for 32-bit Windows, without the C runtime.
enable_language(RC)

# No -fdata-sections: this MinGW names a zero-initialised global's own section .data$name,
# with its zeros stored in the file, where without it the global goes to .bss and takes
# no room in the file at all. Unused functions are still dropped (-ffunction-sections).
# The file prefix maps keep the checkout's folder out of anything the compiler writes.
set(WIN32_CODE_FLAGS
    -Os -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector
    -ffunction-sections -fno-ident
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

# The same commit gives the same setup.exe, byte for byte, wherever and whenever it is
# built. The linker's only date is the PE header's time stamp, and the checksum covers it:
# it is SOURCE_DATE_EPOCH (seconds since 1970) when that is set at configure time, and
# zero otherwise, never the clock. The resource directories carry zero time stamps from
# the resource compiler already. The sources and libraries are linked in the fixed order
# of this file and the top-level list.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(SETUP_TIME_STAMP "$ENV{SOURCE_DATE_EPOCH}")
  if(NOT SETUP_TIME_STAMP MATCHES "^[0-9]+$" OR SETUP_TIME_STAMP GREATER 4294967295)
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is '${SETUP_TIME_STAMP}', not seconds since 1970 "
                        "that fit the PE header's 32-bit time stamp")
  endif()
  # The linker reads the variable itself when it inserts a time stamp; the link runs with
  # the configured value, whatever the build's environment holds.
  set(SETUP_TIME_STAMP_OPTION -Wl,--insert-timestamp)
  set(SETUP_LINK_LAUNCHER "\"${CMAKE_COMMAND}\" -E env SOURCE_DATE_EPOCH=${SETUP_TIME_STAMP}")
else()
  set(SETUP_TIME_STAMP_OPTION -Wl,--no-insert-timestamp)
endif()

add_library(product STATIC ${PRODUCT_SOURCES})
target_include_directories(product PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform/win32)
target_compile_options(product PRIVATE ${PRODUCT_FLAGS} ${WIN32_CODE_FLAGS})

# The PE checksum is the linker's, over the whole file: right for the file as built, and
# left right after a signature is added and taken off again.
add_executable(setup WIN32 platform/win32/nocrt.cpp resources/setup.rc)
target_compile_options(setup PRIVATE ${PRODUCT_FLAGS} ${WIN32_CODE_FLAGS} -fno-builtin)
target_link_options(setup PRIVATE
    -nostdlib -nostartfiles -static -s
    -Wl,-e,_ProcessMain -Wl,-u,_ProcessMain
    -Wl,--subsystem,windows:5.01 -Wl,--major-os-version,5 -Wl,--minor-os-version,1
    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--gc-sections ${SETUP_TIME_STAMP_OPTION}
    # The map's path goes whole, in quotes: -Wl, would cut it at a comma.
    "SHELL:-Xlinker \"-Map=${CMAKE_BINARY_DIR}/setup.map\"")
set_target_properties(setup PROPERTIES RULE_LAUNCH_LINK "${SETUP_LINK_LAUNCHER}")
target_link_libraries(setup PRIVATE product kernel32 user32 gdi32 ole32 gcc)
set_target_properties(setup PROPERTIES OUTPUT_NAME setup SUFFIX .exe)

add_subdirectory(tests/wine)
add_subdirectory(demo)
add_subdirectory(bench)
add_subdirectory(tests/e2e)
add_subdirectory(tests/medium)
