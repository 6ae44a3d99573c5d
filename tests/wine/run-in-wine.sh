#!/usr/bin/env bash
# Runs one Windows program under Wine in a prefix of its own, on an X display of its own,
# and returns the program's exit code. The prefix's wineserver (and with it every process
# the program left behind) and the display are ended afterwards, whether the program
# passed, failed or ran out of time.
#
# usage: run-in-wine.sh --prefix DIR [--new] [--windows-version VERSION] [--base DIR]
#                       [--timeout SECONDS] [-- PROGRAM [ARGUMENT...]]
#        run-in-wine.sh --base DIR
#
# A prefix that is not there yet (or any prefix, with --new) is made before the program
# starts, and settled: Wine's first start of a prefix installs its devices and services,
# and the system announces each device to every window (WM_DEVICECHANGE) for some time
# afterwards; a program started only once that has ended meets a quiet system. With a base
# prefix (--base, or WINE_BASE_PREFIX in the environment) the new prefix is a copy of it,
# which takes a fraction of a second instead of the ten or so that making one takes; the
# base is made first if it is missing or was made by another Wine. Without a program only
# the prefix is made. --windows-version sets the Windows version the new prefix reports
# (winxp, win7, win10).
#
# Every prefix has a virtual desktop of 1024x768: Wine draws frames and captions in it as
# Windows does, keeps the foreground window as Windows does, and takes windows away at
# once (on a display without a window manager it would wait two seconds for one each time
# a window is hidden or destroyed). Each run has a display of its own (an Xvfb on the first
# free display number), so that runs side by side do not take each other's keyboard focus
# or mouse pointer.
set -uo pipefail

me=$(basename "$0")
usage() {
  echo "usage: $me --prefix DIR [--new] [--windows-version VERSION] [--base DIR]" \
    "[--timeout SECONDS] [-- PROGRAM [ARGUMENT...]]" >&2
  echo "       $me --base DIR" >&2
  exit 2
}

prefix=
new=false
version=
base=${WINE_BASE_PREFIX:-}
limit=120
while [ $# -gt 0 ]; do
  case $1 in
    --prefix | --windows-version | --base | --timeout)
      [ $# -ge 2 ] || usage
      case $1 in
        --prefix) prefix=$2 ;;
        --windows-version) version=$2 ;;
        --base) base=$2 ;;
        --timeout) limit=$2 ;;
      esac
      shift 2
      ;;
    --new)
      new=true
      shift
      ;;
    --)
      shift
      break
      ;;
    *) usage ;;
  esac
done
[ -n "$prefix" ] || [ -n "$base" ] || usage
[ -n "$prefix" ] || [ $# -eq 0 ] || usage

for tool in wine wineserver timeout Xvfb flock; do
  command -v "$tool" >/dev/null || {
    echo "$me: $tool not found" >&2
    exit 2
  }
done

# Wine insists on absolute prefix paths.
absolute() {
  mkdir -p "$(dirname "$1")" && printf '%s/%s' "$(cd "$(dirname "$1")" && pwd)" "$(basename "$1")"
}
[ -z "$prefix" ] || prefix=$(absolute "$prefix")
[ -z "$base" ] || base=$(absolute "$base")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb=
making_base=false
# shellcheck disable=SC2317 # run by the EXIT trap
end_all() {
  if $making_base; then
    WINEPREFIX=$base wineserver -k 2>/dev/null
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
  fi
}
trap end_all EXIT
trap 'exit 143' TERM INT HUP

# An Xvfb on the first free display number, which it writes to the descriptor it is given.
start_display() {
  local number_file
  number_file=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb=$!
  local _
  for _ in $(seq 1 100); do
    if [ -s "$number_file" ]; then
      DISPLAY=":$(head -n 1 "$number_file")"
      export DISPLAY
      rm -f "$number_file"
      return 0
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  echo "$me: Xvfb did not start" >&2
  return 1
}

# Imports registry settings given as the lines of a REGEDIT4 file into $WINEPREFIX.
import_settings() {
  local file status
  file=$(mktemp --suffix=.reg) || return 1
  printf '%s\n' REGEDIT4 "" "$@" >"$file"
  wine reg import "Z:${file//\//\\}" >/dev/null 2>&1
  status=$?
  rm -f "$file"
  return $status
}

# Makes $WINEPREFIX from nothing: Wine's first start, the virtual desktop, and the wait
# until every process of that start has ended.
make_prefix() {
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 &&
    import_settings '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' "" \
      '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' &&
    wineserver -w
}

# A copy of the base, which is made first when it is missing or another Wine made it: under
# an exclusive lock while it is checked or made, a shared one while it is copied. The
# programs and libraries of the system folder, half a gigabyte that nothing but an update
# of Wine writes, are linked rather than copied; everything else, the registry first, is
# the prefix's own.
copy_base() {
  local lock made_by system=drive_c/windows/system32
  exec {lock}>"$base.lock" && flock -x "$lock" || return 1
  made_by=$(wine --version)
  if [ "$(cat "$base/.made-by" 2>/dev/null)" != "$made_by" ]; then
    echo "$me: making the base prefix $base (once; about ten seconds)" >&2
    making_base=true
    WINEPREFIX=$base make_prefix || {
      echo "$me: could not make the base prefix $base" >&2
      return 1
    }
    making_base=false
    echo "$made_by" >"$base/.made-by"
  fi
  [ -n "$prefix" ] || return 0
  flock -s "$lock" &&
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX/$system" &&
    tar -C "$base" --exclude="./$system" -cf - . | tar -C "$WINEPREFIX" -xf - &&
    cp -al "$base/$system/." "$WINEPREFIX/$system/" &&
    exec {lock}>&-
}

new_prefix() {
  if [ -n "$base" ]; then
    copy_base
  else
    make_prefix
  fi || {
    echo "$me: could not make the prefix $WINEPREFIX" >&2
    return 1
  }
  # Each process reads the version when it starts: the program started next reports it.
  if [ -n "$version" ] &&
    ! import_settings '[HKEY_CURRENT_USER\Software\Wine]' "\"Version\"=\"$version\""; then
    echo "$me: could not set the prefix $WINEPREFIX to $version" >&2
    return 1
  fi
}

start_display || exit 2
if [ -z "$prefix" ]; then
  copy_base
  exit
fi
export WINEPREFIX=$prefix
if $new || [ ! -d "$prefix" ]; then
  new_prefix || exit 1
fi
[ $# -gt 0 ] || exit 0

timeout --kill-after=10 "$limit" wine "$@"
code=$?
if [ $code -eq 124 ] || [ $code -eq 137 ]; then
  echo "$me: $(basename "$1") did not end within $limit s; stopped" >&2
fi
exit $code
