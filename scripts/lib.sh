# shellcheck shell=bash
# Shared by the README's two commands: set up the machine, build, and give Wine a display.
# Sourced, not run.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT="$REPO_ROOT/build"

say() { printf '\n==> %s\n' "$*"; }
fail() {
  printf '\nerror: %s\n' "$*" >&2
  exit 1
}

# Installs what the build and the tests need, once: compilers, CMake, GoogleTest, MinGW,
# Wine with its 32-bit half, Xvfb, ImageMagick, xdotool and xwininfo to drive and
# measure windows on the display, and openssl, osslsigncode and xorriso for signing and
# the disc image. Skips everything when it is there.
ensure_tools() {
  local missing=()
  command -v cmake >/dev/null || missing+=(cmake)
  command -v ninja >/dev/null || missing+=(ninja-build)
  command -v g++ >/dev/null || missing+=(g++)
  command -v clang++ >/dev/null || missing+=(clang)
  [ -e /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ] ||
    [ -n "$(ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ] ||
    missing+=(libclang-rt-14-dev)
  [ -e /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  [ -e /usr/include/gmock/gmock.h ] || missing+=(libgmock-dev)
  [ -e /usr/include/wine/wine/windows/windows.h ] || missing+=(libwine-dev)
  command -v i686-w64-mingw32-g++ >/dev/null || missing+=(g++-mingw-w64-i686)
  command -v wine >/dev/null || missing+=(wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v xauth >/dev/null || missing+=(xauth)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v xdotool >/dev/null || missing+=(xdotool)
  command -v xwininfo >/dev/null || missing+=(x11-utils)
  command -v file >/dev/null || missing+=(file)
  [ -d /usr/share/wine/fonts ] || missing+=(fonts-wine)
  # What a vendor ships with: signing, and the disc image.
  command -v openssl >/dev/null || missing+=(openssl)
  command -v osslsigncode >/dev/null || missing+=(osslsigncode)
  command -v xorriso >/dev/null || missing+=(xorriso)
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  say "Setting up: installing ${missing[*]} (the first run takes a few minutes)"
  [ "$(id -u)" -eq 0 ] || fail "installing packages needs root; run this command as root"
  command -v apt-get >/dev/null || fail "apt-get not found: this command expects Debian 12"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || fail "could not add the i386 architecture that wine32 needs"
  fi
  local log="$BUILD_ROOT/apt.log"
  mkdir -p "$BUILD_ROOT"
  if ! apt-get update >"$log" 2>&1; then
    fail "apt-get update failed (is Debian's package mirror reachable?); see $log"
  fi
  # With the recommended packages: Wine draws with its own fonts and the X libraries it
  # recommends, which is how the tests and screenshots here were made.
  if ! DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >>"$log" 2>&1; then
    fail "could not install ${missing[*]}; see $log"
  fi
}

# Configures and builds one CMake preset (host or win32), quietly unless it fails.
build_preset() {
  local preset=$1
  local log="$BUILD_ROOT/$preset-build.log"
  mkdir -p "$BUILD_ROOT"
  say "Building the $preset preset"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    fail "the $preset build failed; the whole log is $log"
  fi
}

# Gives Wine an X display: the caller's, or a private Xvfb that ends with the script.
# The private one takes the first free display number from XVFB_FIRST_DISPLAY (90).
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local number
  for number in $(seq "${XVFB_FIRST_DISPLAY:-90}" 140); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
  done
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "$XVFB_PID" 2>/dev/null' EXIT
  export DISPLAY=":$number"
  local _
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$number" ] && return 0
    sleep 0.1
  done
  fail "Xvfb did not start on display :$number"
}

# The exported WINEPREFIX, made once for the program's own runs: a 1024x768 Wine desktop
# named $2, in which Wine draws frames and captions as Windows does and manages the
# windows itself (on an X server without a window manager Wine otherwise waits 2 s for
# one whenever a window is hidden or destroyed), and Wine's own TrueType fonts in its
# Fonts folder (Debian's 32-bit Wine does not find them where they are installed; without
# Marlett the close box shows a letter instead of its cross). The log goes to $1.
prepare_wine_prefix() {
  local log=$1 desktop=$2
  local ready=$WINEPREFIX/.prefix-ready
  [ -e "$ready" ] && return 0
  say "Preparing the Wine prefix $WINEPREFIX (once; about ten seconds)"
  rm -rf "$WINEPREFIX"
  {
    wineboot -i &&
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f &&
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d 1024x768 /f &&
      wineserver -w
  } >"$log" 2>&1 || fail "could not make the Wine prefix $WINEPREFIX; see $log"
  local fonts=/usr/share/wine/fonts
  if compgen -G "$fonts/*.ttf" >/dev/null; then
    cp "$fonts"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  touch "$ready"
}

# Ends what a script started: the prefix's Wine processes and its private Xvfb.
stop_wine_and_display() {
  if [ -d "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    timeout 10 wineserver -w 2>/dev/null || true
  fi
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}

# --- for the vendor's scripts (sign.sh, make-medium.sh) ----------------------------------
# They set $me, their name, and $usage, their usage line.

# One line on stderr, headed by the script's name ($me), and exit code 1.
# shellcheck disable=SC2154
die() {
  printf '%s: %s\n' "$me" "$*" >&2
  exit 1
}

# A usage error: the line, then the script's usage line ($usage), and exit code 2.
# shellcheck disable=SC2154
usage_error() {
  printf '%s: %s\n%s\n' "$me" "$1" "$usage" >&2
  exit 2
}

# Puts the finished file $1 in place as $2 with one rename, so that $2 is never seen half
# written. Unless $3 is true an existing $2 is kept (it may have appeared since the
# script looked) and the script fails.
publish() {
  if [ "$3" = true ]; then
    mv -f "$1" "$2"
  else
    mv -n "$1" "$2"
    [ ! -e "$1" ] || die "$2 appeared meanwhile; give --force to replace it"
  fi
}
