#!/usr/bin/env bash
# Measures how lean setup.exe is, against a floor: a bare Win32 program (bench/floor.cpp)
# that shows an empty dialog of the wizard window's size and runs a plain GetMessageA
# loop. Both are started under Wine by bench/measure.exe, interleaved, in one run:
#
#   1. the size of setup.exe and the DLLs it imports;
#   2. the time from CreateProcessA to the window being visible, median of 20 runs each;
#   3. the processor time used while the window sits idle for 10 s;
#   4. the peak working set at start (step 1 active, nothing pressed).
#
# Prints a table and writes it, with the machine it came from, to docs/bench.md. Takes
# about a minute after the build. Timings depend on what else the machine does: run it
# when the machine is quiet (the load averages are recorded with the figures).
#
# usage: scripts/bench.sh [--runs N] [--idle-seconds S] [--output FILE]
#   BENCH_BUILD_DIR=DIR  build into DIR instead of the win32 preset's build/win32
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

RUNS=20
IDLE_SECONDS=10
OUTPUT=$REPO_ROOT/docs/bench.md
while [ $# -gt 0 ]; do
  case $1 in
    --runs | --idle-seconds | --output)
      [ $# -ge 2 ] || fail "$1 needs a value"
      case $1 in
        --runs) RUNS=$2 ;;
        --idle-seconds) IDLE_SECONDS=$2 ;;
        --output) OUTPUT=$2 ;;
      esac
      shift 2
      ;;
    *) fail "unknown argument $1 (usage: scripts/bench.sh [--runs N] [--idle-seconds S] [--output FILE])" ;;
  esac
done
[[ $RUNS =~ ^[1-9][0-9]*$ ]] || fail "--runs wants a positive whole number, not $RUNS"
[[ $IDLE_SECONDS =~ ^[1-9][0-9]*$ ]] || fail "--idle-seconds wants a positive whole number"

BUILD_DIR=${BENCH_BUILD_DIR:-$BUILD_ROOT/win32}
mkdir -p "$BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
PREFIX=$BUILD_DIR/bench-prefix
PREFIX_LOG=$BUILD_DIR/bench-prefix.log
RESULTS=$BUILD_DIR/bench-results.txt
MEASURE_LOG=$BUILD_DIR/bench-measure.log

# ---------------------------------------------------------------------------------------
# Build and prefix

build() {
  if [ -z "${BENCH_BUILD_DIR:-}" ]; then
    build_preset win32
    return 0
  fi
  local log=$BUILD_DIR/bench-build.log
  say "Building the win32 preset in $BUILD_DIR"
  if ! { cmake --preset win32 -B "$BUILD_DIR" && cmake --build "$BUILD_DIR"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    fail "the win32 build failed; the whole log is $log"
  fi
}



# ---------------------------------------------------------------------------------------
# Figures

# The value of key $1 in the measuring program's results.
result() {
  local value
  value=$(sed -n "s/^$1=//p" "$RESULTS" | tr -d '\r')
  [ -n "$value" ] || fail "the measuring program reported no $1; see $RESULTS"
  printf '%s' "$value"
}

# Formats number $1 with $2 decimals (default 0) and thousands separators.
number() { LC_ALL=C awk -v v="$1" -v d="${2:-0}" 'BEGIN {
  s = sprintf("%." d "f", v); sign = ""; if (s ~ /^-/) { sign = "-"; s = substr(s, 2) }
  split(s, p, "."); i = p[1]; out = ""
  while (length(i) > 3) { out = "," substr(i, length(i) - 2) out; i = substr(i, 1, length(i) - 3) }
  printf "%s%s%s%s", sign, i, out, (d > 0 ? "." p[2] : "") }'; }

# Like number, but "n/a" for the measuring program's -1: a figure it could not read.
figure() {
  if LC_ALL=C awk -v v="$1" 'BEGIN { exit !(v + 0 < 0) }'; then
    printf 'n/a'
  else
    number "$@"
  fi
}

# $1 / $2 with two decimals, or a dash when $2 is 0.
ratio() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) printf "--"; else printf "%.2f", a / b }'; }

# $1 - $2 with a sign, $3 decimals (default 0).
signed() {
  local difference
  difference=$(LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { print a - b }')
  LC_ALL=C awk -v d="$difference" 'BEGIN { exit !(d + 0 >= 0) }' && printf '+'
  number "$difference" "${3:-0}"
}

same() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 == b + 0) }'; }

imports_of() {
  i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { print $3 }' | sort -f | paste -sd, - |
    sed 's/,/, /g'
}

# Wraps Markdown bullets, one to a line on input, at 90 columns.
wrap_bullets() {
  awk '{
    text = substr($0, 3); line = "-"
    n = split(text, words, " ")
    for (i = 1; i <= n; i++) {
      if (length(line) + 1 + length(words[i]) > 90) { print line; line = " " }
      line = line " " words[i]
    }
    print line
  }'
}

machine_facts() {
  local cpu cores memory
  cpu=$(sed -n 's/^model name[[:space:]]*:[[:space:]]*//p' /proc/cpuinfo | head -n 1)
  cores=$(nproc)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  printf -- '- Date: %s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
  printf -- '- CPU: %s, %s cores; memory %s\n' "${cpu:-unknown}" "$cores" "$memory"
  printf -- '- Kernel: %s\n' "$(uname -srm)"
  printf -- '- Wine: %s, in a prefix of its own with a 1024x768 Wine desktop on %s\n' \
    "$(wine --version)" "$DISPLAY_KIND"
  printf -- '- Compiler: %s\n' "$(i686-w64-mingw32-g++ --version | head -n 1)"
  printf -- '- Load averages (1, 5, 15 min): %s before, %s after the measurements\n' \
    "$LOAD_BEFORE" "$LOAD_AFTER"
}

write_report() {
  local setup=$BUILD_DIR/setup.exe floor=$BUILD_DIR/bench/floor.exe
  local runs idle
  runs=$(result runs | cut -d. -f1)
  idle=$(result idle.seconds | cut -d. -f1)

  local s_med s_min s_max f_med f_min f_max
  s_med=$(result setup.start.median_ms) s_min=$(result setup.start.min_ms)
  s_max=$(result setup.start.max_ms)
  f_med=$(result floor.start.median_ms) f_min=$(result floor.start.min_ms)
  f_max=$(result floor.start.max_ms)
  local s_cpu f_cpu s_srv f_srv s_ws f_ws
  s_cpu=$(result setup.idle.unix_cpu_ms) f_cpu=$(result floor.idle.unix_cpu_ms)
  s_srv=$(result setup.idle.wineserver_cpu_ms) f_srv=$(result floor.idle.wineserver_cpu_ms)
  s_ws=$(result setup.memory.api_peak_kib) f_ws=$(result floor.memory.api_peak_kib)
  local s_share
  s_share=$(LC_ALL=C awk -v c="$s_cpu" -v s="$idle" 'BEGIN { printf "%.1f", c / (s * 10) }')

  # Whether Wine filled in the Win32 figures for another process, judged on this run.
  local times_note memory_note
  if same "$(result setup.idle.api_total_ms)" "$(result setup.idle.self_total_ms)" &&
    same "$(result floor.idle.api_total_ms)" "$(result floor.idle.self_total_ms)"; then
    times_note="GetProcessTimes on a child's handle is no use under this Wine: it returned \
the measuring program's own processor time ($(number "$(result setup.idle.self_total_ms)") ms \
on setup.exe's handle, $(number "$(result floor.idle.self_total_ms)") ms on the floor's, each \
equal to what the program read for itself at that moment)."
  else
    times_note="GetProcessTimes on the child's handle gave $(number "$(result \
setup.idle.api_cpu_ms)") ms for setup.exe and $(number "$(result floor.idle.api_cpu_ms)") ms for \
the floor over the same period."
  fi
  if same "$s_ws" "$(result setup.memory.unix_peak_kib)" &&
    same "$f_ws" "$(result floor.memory.unix_peak_kib)"; then
    memory_note="Wine reports it for another process: it equals VmHWM in /proc/<pid>/status."
  else
    memory_note="VmHWM in /proc/<pid>/status gave $(number "$(result \
setup.memory.unix_peak_kib)") KiB for setup.exe and $(number "$(result \
floor.memory.unix_peak_kib)") KiB for the floor."
  fi
  local ws_ratio="n/a"
  if [ "$(figure "$s_ws")" != n/a ] && [ "$(figure "$f_ws")" != n/a ]; then
    ws_ratio="$(ratio "$s_ws" "$f_ws") ($(signed "$s_ws" "$f_ws") KiB)"
  fi
  local cpu_ratio
  cpu_ratio=$(ratio "$s_cpu" "$f_cpu")
  [ "$cpu_ratio" != "--" ] || cpu_ratio="n/a (floor 0)"

  TABLE=$(
    cat <<EOF
| measurement | setup.exe | floor | ratio |
|---|---:|---:|---:|
| file size (bytes) | $(number "$(stat -c %s "$setup")") | $(number "$(stat -c %s "$floor")") | |
| imported DLLs | $(imports_of "$setup") | $(imports_of "$floor") | |
| start to visible window, median of $runs (ms) | $(number "$s_med" 1) | $(number "$f_med" 1) | $(ratio "$s_med" "$f_med") ($(signed "$s_med" "$f_med" 1) ms) |
| start to visible window, min – max (ms) | $(number "$s_min" 1) – $(number "$s_max" 1) | $(number "$f_min" 1) – $(number "$f_max" 1) | |
| CPU time while idle ${idle} s, the program (ms) | $(figure "$s_cpu") ($s_share % of a core) | $(figure "$f_cpu") | $cpu_ratio |
| CPU time while idle ${idle} s, the prefix's wineserver (ms) | $(figure "$s_srv") | $(figure "$f_srv") | |
| peak working set at start, step 1 active (KiB) | $(figure "$s_ws") | $(figure "$f_ws") | $ws_ratio |
EOF
  )

  mkdir -p "$(dirname "$OUTPUT")"
  {
    printf '# Measurements of setup.exe\n\n'
    printf '%s\n\n' "Written by \`scripts/bench.sh\`; figures of one run."
    printf '%s\n\n' "$TABLE"
    printf '## Machine\n\n'
    machine_facts
    printf '\n## How\n\n'
    wrap_bullets <<EOF
- Floor: \`bench/floor.cpp\`, an empty dialog from the wizard window's template (418 x 240 dialog units, MS Sans Serif 8, \`DS_CENTER\`, the same styles), shown and run by a plain \`GetMessageA\` loop; built like setup.exe (no C runtime, \`-Os\`, stripped).
- Start: \`bench/measure.exe\` takes the time, starts the program with \`CreateProcessA\` and polls every 1 ms (\`FindWindowExA\` by caption, window owned by the child, \`IsWindowVisible\`) until its window is visible. One warm-up start of each is not counted; then $runs starts of each, interleaved (setup.exe, floor, setup.exe, ...). After each start the program is closed the ordinary way and must end with exit code 0: setup.exe by posting \`WM_COMMAND\` 1003, 1008 and 1012 (Skip on each step, each awaited until its button is disabled) and then 1007 (Done); the floor by \`WM_CLOSE\`.
- Idle: each program is started once more, given 1 s to paint, and watched for ${idle} s at its first state. Processor time is utime + stime in /proc/<pid>/stat of the Unix process that hosts the program (found by a tag on its command line), in clock ticks of $((1000 / CLOCK_TICKS)) ms. ${times_note}
- The wineserver row is the prefix's wineserver over the same ${idle} s. Under Wine part of a program's work with its message queue is done there; but the server also serves the prefix's own processes (the desktop, services), so a few ticks either way are noise.
- Peak working set: GetProcessMemoryInfo's PeakWorkingSetSize from the measuring program at the end of the idle period. ${memory_note} Most of it is Wine's own (its loader and system DLLs); the difference between the columns is what the programs add.
- Wine runs with its own fonts copied into the prefix, as for \`scripts/run.sh\`.
- No absolute time is asserted anywhere: the ratios are the point; times move with the load.
EOF
  } >"$OUTPUT"
}

# ---------------------------------------------------------------------------------------

ensure_tools
build
for program in setup.exe bench/floor.exe bench/measure.exe; do
  [ -f "$BUILD_DIR/$program" ] || fail "the build made no $BUILD_DIR/$program"
done

export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DISPLAY_KIND="the display ${DISPLAY:-}"
[ -n "${DISPLAY:-}" ] || DISPLAY_KIND="Xvfb"
XVFB_FIRST_DISPLAY=100 ensure_display
trap stop_wine_and_display EXIT
trap 'exit 130' INT TERM HUP
prepare_wine_prefix "$PREFIX_LOG" Bench

CLOCK_TICKS=$(getconf CLK_TCK)
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
say "Measuring on $DISPLAY: $RUNS starts of each program, then ${IDLE_SECONDS} s idle each" \
  "(load averages now: $LOAD_BEFORE)"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# In the background and waited for, so that a signal ends the script (and with it, by
# stop_wine_and_display, the prefix's processes) at once rather than after the measurements.
(cd "$BUILD_DIR" && exec timeout --kill-after=10 600 wine bench/measure.exe \
  --setup "$(windows_path "$BUILD_DIR/setup.exe")" \
  --floor "$(windows_path "$BUILD_DIR/bench/floor.exe")" \
  --runs "$RUNS" --idle-seconds "$IDLE_SECONDS" --clock-ticks "$CLOCK_TICKS") \
  >"$RESULTS" 2> >(tee "$MEASURE_LOG" >&2) &
code=0
wait $! || code=$?
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)
[ "$code" -eq 0 ] || fail "the measuring program failed (exit code $code); see $MEASURE_LOG"

write_report
say "Measurements of setup.exe against the floor (written to ${OUTPUT#"$REPO_ROOT"/})"
printf '%s\n\n' "$TABLE"
machine_facts
