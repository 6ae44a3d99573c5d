#!/usr/bin/env bash
# Runs one Windows test program under Wine in a prefix of its own and returns the
# program's exit code. The prefix's wineserver (and with it every process the test left
# behind) is ended afterwards, whether the program passed, failed or ran out of time.
#
# usage: run-in-wine.sh --prefix DIR [--timeout SECONDS] -- PROGRAM [ARGUMENT...]
set -uo pipefail

me=$(basename "$0")
usage() {
  echo "usage: $me --prefix DIR [--timeout SECONDS] -- PROGRAM [ARGUMENT...]" >&2
  exit 2
}

prefix=
limit=120
while [ $# -gt 0 ]; do
  case $1 in
    --prefix)
      [ $# -ge 2 ] || usage
      prefix=$2
      shift 2
      ;;
    --timeout)
      [ $# -ge 2 ] || usage
      limit=$2
      shift 2
      ;;
    --)
      shift
      break
      ;;
    *) usage ;;
  esac
done
[ -n "$prefix" ] && [ $# -ge 1 ] || usage

if [ -z "${DISPLAY:-}" ]; then
  echo "$me: DISPLAY is not set, and Wine needs an X display." >&2
  echo "$me: run ./scripts/test.sh (it provides one), or start Xvfb yourself:" >&2
  echo "$me:   Xvfb :N -screen 0 1024x768x24 -nolisten tcp & export DISPLAY=:N" >&2
  exit 2
fi
# A local display that is not there makes Wine fail with a message far from the cause.
if [[ $DISPLAY =~ ^:([0-9]+) ]] && [ ! -S "/tmp/.X11-unix/X${BASH_REMATCH[1]}" ]; then
  echo "$me: DISPLAY is $DISPLAY, but no X server listens there (no /tmp/.X11-unix/X${BASH_REMATCH[1]})." >&2
  exit 2
fi
for tool in wine wineserver timeout; do
  command -v "$tool" >/dev/null || {
    echo "$me: $tool not found" >&2
    exit 2
  }
done

# Wine insists on an absolute prefix path.
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

end_prefix() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
trap end_prefix EXIT
trap 'exit 143' TERM INT HUP

# A new prefix is made on first use, which takes about ten seconds of the time limit.
timeout --kill-after=10 "$limit" wine "$@"
code=$?
if [ $code -eq 124 ] || [ $code -eq 137 ]; then
  echo "$me: $(basename "$1") did not end within $limit s; stopped" >&2
fi
exit $code
