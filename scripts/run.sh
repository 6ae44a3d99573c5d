#!/usr/bin/env bash
# Sets up the machine, builds setup.exe and runs it under Wine.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_tools
build_preset win32
ensure_display
export WINEPREFIX="$BUILD_ROOT/wine-run" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
say "Running setup.exe under Wine"
set +e
wine "$BUILD_ROOT/win32/setup.exe"
code=$?
set -e
wineserver -k || true
say "setup.exe ended with exit code $code"
