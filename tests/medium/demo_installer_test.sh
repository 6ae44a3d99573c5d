#!/usr/bin/env bash
# Tests of the demo installers under Wine: a medium laid out from the build passes the
# medium check, and each installer, started as setup.exe starts it, ends by itself with
# exit code 0 after about two seconds and leaves next to itself a record of its step, its
# working directory and its command line, which scripts/run.sh reads back.
#
# usage: demo_installer_test.sh RUN_IN_WINE WORK_FOLDER INSTALLERS_FOLDER SETUP_EXE CHECK_MEDIUM
set -euo pipefail

usage="usage: demo_installer_test.sh RUN_IN_WINE WORK_FOLDER INSTALLERS_FOLDER SETUP_EXE CHECK_MEDIUM"
[ $# -eq 5 ] || {
  echo "$usage" >&2
  exit 2
}
run_in_wine=$1 work=$2 installers=$3 setup=$4 check=$5
medium=$work/medium
prefix=$work/prefix

# shellcheck source=tests/check.sh
source "$(dirname "${BASH_SOURCE[0]}")/../check.sh"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# --- the medium -------------------------------------------------------------------------

rm -rf "$medium"
mkdir -p "$medium"
cp "$setup" "$medium/setup.exe"
for i in 0 1 2; do
  mkdir -p "$medium/${folders[$i]}"
  cp "$installers/${folders[$i]}/${programs[$i]}" "$medium/${folders[$i]}/"
done
code=0
"$check" "$medium" >/dev/null || code=$?
check "medium check of a medium laid out from the build (exit code)" 0 "$code"

# --- each installer ---------------------------------------------------------------------

# A Wine desktop, as scripts/run.sh uses: there Wine draws the frames itself. (Without one
# and without a window manager, Wine waits two seconds for a window manager to take each
# closing window away, which would blur the time measured below.)
rm -rf "$prefix"
code=0
"$run_in_wine" --prefix "$prefix" --timeout 60 -- \
  reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Test /f >/dev/null || code=$?
"$run_in_wine" --prefix "$prefix" --timeout 60 -- \
  reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Test /d 800x600 /f >/dev/null || code=$?
check "a Wine desktop for the prefix (exit codes)" 0 "$code"

# Runs step $1's installer with the working directory $2 and two arguments, the second
# with a blank in it, and checks what it did.
run_step() {
  local step=$1 directory=$2 index=$(($1 - 1))
  local folder=$medium/${folders[$index]} program=${programs[$index]}
  local record=$folder/ran.txt code=0
  printf 'an older record\r\n' >"$record"

  # The record is written when the window is up and completed at the end; the time
  # between the two is how long the window stayed open.
  (cd "$directory" && exec "$run_in_wine" --prefix "$prefix" --timeout 60 -- \
    "$folder/$program" one "two words") &
  local runner=$! started="" ended=""
  while kill -0 "$runner" 2>/dev/null; do
    if [ -z "$started" ] && grep -q '^step ' "$record" 2>/dev/null; then
      started=$(now_ms)
    fi
    if [ -n "$started" ] && [ -z "$ended" ] && grep -q '^ended: ' "$record"; then
      ended=$(now_ms)
    fi
    sleep 0.05
  done
  wait "$runner" || code=$?

  check "step $step: exit code" 0 "$code"
  local shown=$((${ended:-0} - ${started:-0}))
  if [ -n "$started" ] && [ -n "$ended" ] && [ "$shown" -ge 1800 ] && [ "$shown" -le 3500 ]; then
    printf 'ok    step %s: ran for %s ms, about two seconds\n' "$step" "$shown"
  else
    local seen="ran for $shown ms"
    [ -n "$ended" ] || seen="the record was never completed"
    [ -n "$started" ] || seen="no record appeared while it ran"
    printf 'FAIL  step %s: expected to run about two seconds (1800 to 3500 ms); %s\n' \
      "$step" "$seen"
    failures=$((failures + 1))
  fi
  local lines=()
  if [ -f "$record" ]; then
    mapfile -t lines < <(tr -d '\r' <"$record")
  fi
  check "step $step: record, line 1" "step $step: $program" "${lines[0]:-}"
  check "step $step: record, line 2" "working directory: $(windows_path "$directory")" \
    "${lines[1]:-}"
  check "step $step: record, line 3" \
    "command line: \"$(windows_path "$folder/$program")\" one \"two words\"" "${lines[2]:-}"
  check "step $step: record, line 4" "ended: exit code 0" "${lines[3]:-}"
  check "step $step: record, line count (the older record replaced)" 4 "${#lines[@]}"
}

# Started in its own folder, as setup.exe starts it; step 1 also from elsewhere, where
# its record must still land next to the program and not in the working directory.
rm -f "$work/ran.txt"
run_step 1 "$work"
check "step 1: no record in the working directory" "" "$(ls "$work"/ran.txt 2>/dev/null)"
run_step 2 "$medium/${folders[1]}"
run_step 3 "$medium/${folders[2]}"

echo
[ "$failures" -eq 0 ] || {
  echo "$failures check(s) failed"
  exit 1
}
echo "all checks passed"
