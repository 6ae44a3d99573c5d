#!/usr/bin/env bash
# The same sources give the same setup.exe, byte for byte, wherever and whenever they are
# built. Copies the checkout twice, into folders of different names and depths (the
# second with a blank and a non-ASCII letter in its path), builds setup.exe in each with
# the README's preset at different moments, and compares both with the build under test.
#
# "Different moments" are made to tell: the builds are seconds apart, and each runs in a
# time zone of its own, fourteen hours east and eleven hours west of UTC, so that even
# the local date differs. A clock reading or a date of any kind in the file shows up as
# a difference; so does either folder's path.
#
# usage: reproducible_build_test.sh SOURCE_DIR WORK_FOLDER BUILT_SETUP_EXE [TIME_STAMP]
#   TIME_STAMP: the SOURCE_DATE_EPOCH the build under test was configured with, if any
set -euo pipefail

usage="usage: reproducible_build_test.sh SOURCE_DIR WORK_FOLDER BUILT_SETUP_EXE [TIME_STAMP]"
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "$usage" >&2
  exit 2
fi
source_dir=$1 work=$2 built=$3 time_stamp=${4:-}

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

# Copies the checkout, without its builds and history, to $1 and builds setup.exe there in
# time zone $2; leaves the path of the result in $copy_setup.
copy_setup=
build_copy() {
  local copy=$1 zone=$2 log=$1.log
  rm -rf "$copy"
  mkdir -p "$copy"
  tar -C "$source_dir" --exclude=./build --exclude=./.git --exclude=./.cache -cf - . |
    tar -C "$copy" -xf -
  local environment=(env -u SOURCE_DATE_EPOCH TZ="$zone")
  [ -z "$time_stamp" ] || environment=(env SOURCE_DATE_EPOCH="$time_stamp" TZ="$zone")
  if ! (cd "$copy" && "${environment[@]}" cmake --preset win32 &&
    "${environment[@]}" cmake --build --preset win32 --target setup --parallel 2) >"$log" 2>&1; then
    tail -n 20 "$log"
    echo "FAIL  the build in $copy failed; the whole log is $log"
    exit 1
  fi
  copy_setup=$copy/build/win32/setup.exe
}

# A little-endian 32-bit number at offset $2 of file $1.
dword() { od -An --endian=little -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }

# The PE checksum of file $1 as the loader computes it: the file's 16-bit words summed with
# end-around carry, the checksum field itself counted as zero, plus the file's length.
pe_checksum() {
  local field=$(($(dword "$1" 60) + 88))
  od -An -v --endian=little -tu2 -w2 "$1" | awk -v skip=$((field / 2)) -v size="$(stat -c %s "$1")" '
    NR - 1 != skip && NR - 1 != skip + 1 { sum += $1; sum = (sum % 65536) + int(sum / 65536) }
    END { printf "%d\n", (sum % 65536) + size }'
}

first=$work/first
second="$work/second build, Größe/two"
build_copy "$first" XST-14
first_setup=$copy_setup first_done=$(date +%s)
sleep 2
build_copy "$second" YST11
second_setup=$copy_setup second_done=$(date +%s)

check "the second build ended later than the first (seconds)" yes \
  "$([ "$second_done" -gt "$first_done" ] && echo yes || echo "no: $first_done, $second_done")"
for setup in "$second_setup" "$built"; do
  if cmp -s "$first_setup" "$setup"; then
    printf 'ok    %s equals %s: sha256 %s\n' "$setup" "$first_setup" \
      "$(sha256sum <"$setup" | cut -d' ' -f1)"
  else
    printf 'FAIL  %s differs from %s:\n' "$setup" "$first_setup"
    cmp -l "$first_setup" "$setup" | head -n 10 | sed 's/^/        /'
    failures=$((failures + 1))
  fi
done

header=$(dword "$first_setup" 60)
check "the PE header's time stamp" "${time_stamp:-0}" "$(dword "$first_setup" $((header + 8)))"
check "the PE checksum is the file's" "$(pe_checksum "$first_setup")" \
  "$(dword "$first_setup" $((header + 88)))"
for copy in "$first" "$second"; do
  check "no trace of the folder $copy in the file" 0 "$(grep -caF "$copy" "$first_setup" || true)"
done

echo
[ "$failures" -eq 0 ] || {
  echo "$failures check(s) failed"
  exit 1
}
rm -rf "$first" "$second"
echo "all checks passed"
