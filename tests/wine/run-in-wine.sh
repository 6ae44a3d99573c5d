#!/usr/bin/env bash
# Runs one Windows program under Wine in a prefix of its own, on an X display of its own
# (an Xvfb on the first free number: runs side by side share no keyboard focus or mouse),
# and returns its exit code; then ends the prefix's wineserver, with every process the
# program left behind, and the display.
#
# usage: run-in-wine.sh --prefix DIR [--new] [--windows-version VERSION] [--base DIR]
#                       [--timeout SECONDS] [-- PROGRAM [ARGUMENT...]]
#        run-in-wine.sh --base DIR     (makes only the base)
#
# A missing prefix (any, with --new) is made first and settled: a prefix's first start
# installs its devices and announces each to every window (WM_DEVICECHANGE) for a while.
# It is a copy of the base (--base, or WINE_BASE_PREFIX), made once. Every prefix has a
# 1024x768 virtual desktop, where Wine keeps the foreground and draws frames as Windows
# does, and takes windows away at once (without a window manager it waits 2 s for one).
set -uo pipefail

me=$(basename "$0")
usage() {
  echo "usage: $me --prefix DIR [--new] [--windows-version VERSION] [--base DIR]" \
    "[--timeout SECONDS] [-- PROGRAM [ARGUMENT...]]; or $me --base DIR" >&2
  exit 2
}
prefix='' new=false version='' base=${WINE_BASE_PREFIX:-} limit=120
while [ $# -gt 0 ]; do
  case $1 in
    --new) new=true && shift && continue ;;
    --) shift && break ;;
    --prefix | --windows-version | --base | --timeout) [ $# -ge 2 ] || usage ;;
    *) usage ;;
  esac
  case $1 in
    --prefix) prefix=$2 ;;
    --windows-version) version=$2 ;;
    --base) base=$2 ;;
    --timeout) limit=$2 ;;
  esac
  shift 2
done
{ [ -n "$prefix" ] || { [ -n "$base" ] && [ $# -eq 0 ]; }; } || usage
for tool in wine wineserver timeout Xvfb flock; do
  command -v "$tool" >/dev/null || { echo "$me: $tool not found" >&2 && exit 2; }
done

# Wine insists on absolute prefix paths.
absolute() { mkdir -p "$(dirname "$1")" && echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
[ -z "$prefix" ] || prefix=$(absolute "$prefix")
[ -z "$base" ] || base=$(absolute "$base")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb='' making=''
# shellcheck disable=SC2317 # run by the EXIT trap
end_all() {
  for server in "$making" "${WINEPREFIX:-}"; do
    if [ -n "$server" ] && [ -d "$server" ]; then
      WINEPREFIX=$server wineserver -k 2>/dev/null
      WINEPREFIX=$server wineserver -w 2>/dev/null
    fi
  done
  [ -z "$xvfb" ] || { kill "$xvfb" && wait "$xvfb"; } 2>/dev/null
}
trap end_all EXIT
trap 'exit 143' TERM INT HUP

number=$(mktemp) || exit 2
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
  [ -s "$number" ] || ! kill -0 "$xvfb" 2>/dev/null && break
  sleep 0.1
done
DISPLAY=":$(head -n 1 "$number")" && export DISPLAY && rm -f "$number"
[ "$DISPLAY" != ":" ] || { echo "$me: Xvfb did not start" >&2 && exit 2; }

# Registry settings, given as the lines of a REGEDIT4 file, into $WINEPREFIX.
set_registry() {
  local file code
  file=$(mktemp --suffix=.reg) && printf '%s\n' REGEDIT4 "" "$@" >"$file" || return 1
  wine reg import "Z:${file//\//\\}" >/dev/null 2>&1
  code=$?
  rm -f "$file"
  return $code
}

# Wine's first start, the desktop, and the wait until every process of it has ended.
make_prefix() {
  rm -rf "$WINEPREFIX" && wineboot -i >/dev/null 2>&1 &&
    set_registry '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' "" \
      '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' &&
    wineserver -w
}

# The base is checked, and made when missing or made by another Wine, under an exclusive
# lock; copied under a shared one, its system folder (half a gigabyte that only an update
# of Wine writes) linked rather than copied.
copy_base() {
  local lock system=drive_c/windows/system32 wine_version
  exec {lock}>"$base.lock" && flock -x "$lock" && wine_version=$(wine --version) || return 1
  if [ "$(cat "$base/.made-by" 2>/dev/null)" != "$wine_version" ]; then
    echo "$me: making the base prefix $base (once; about ten seconds)" >&2
    making=$base
    WINEPREFIX=$base make_prefix && echo "$wine_version" >"$base/.made-by" || return 1
    making=''
  fi
  [ -z "$prefix" ] || {
    flock -s "$lock" && rm -rf "$prefix" && mkdir -p "$prefix/$system" &&
      tar -C "$base" --exclude="./$system" -cf - . | tar -C "$prefix" -xf - &&
      cp -al "$base/$system/." "$prefix/$system/" && exec {lock}>&-
  }
}

if [ -z "$prefix" ]; then
  copy_base || { echo "$me: could not make the base prefix $base" >&2 && exit 1; }
  exit 0
fi
export WINEPREFIX=$prefix
if $new || [ ! -d "$prefix" ]; then
  if [ -n "$base" ]; then copy_base; else make_prefix; fi || {
    echo "$me: could not make the prefix $prefix" >&2 && exit 1
  }
  # Each process reads the version as it starts: the program started next reports it.
  [ -z "$version" ] || set_registry '[HKEY_CURRENT_USER\Software\Wine]' "\"Version\"=\"$version\"" || {
    echo "$me: could not set the prefix $prefix to $version" >&2 && exit 1
  }
fi
[ $# -gt 0 ] || exit 0

timeout --kill-after=10 "$limit" wine "$@"
code=$?
if [ $code -eq 124 ] || [ $code -eq 137 ]; then
  echo "$me: $(basename "$1") did not end within $limit s; stopped" >&2
fi
exit $code
