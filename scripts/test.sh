#!/usr/bin/env bash
# Sets up the machine, builds the presets and runs every test: the host unit tests
# (ASan + UBSan), the fuzz targets and the tests on Wine.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_tools
build_preset host
build_preset win32

say "Host tests (stand-in platform, ASan + UBSan)"
ctest --preset host --output-on-failure -j2

build_preset fuzz
say "Fuzz tests (libFuzzer on the stand-in platform, 30 seconds per target)"
ctest --preset fuzz --output-on-failure -j2

say "Wine tests (real Win32 implementation)"
ensure_display
ctest --preset win32 --output-on-failure

say "All tests passed"
