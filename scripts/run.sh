#!/usr/bin/env bash
# Sets up the machine, builds setup.exe and the demo installers, lays out a demo
# installation medium in build/demo-medium and runs setup.exe from it under Wine.
#
# With a display (DISPLAY set), setup.exe opens there in a Wine desktop for a person to
# click through; the script waits for it to end. Without one, the script starts its own
# Xvfb and walks through the four steps by itself (Install, Install, Skip, Done), with a
# screenshot of every state in build/demo-shots. Either way it then tells which demo
# installers ran, where and how, and the exit code of setup.exe.

# The waits hand small functions to poll(), and the clean-up runs from a trap: for the
# checker those look unreachable.
# shellcheck disable=SC2317
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

MEDIUM=$BUILD_ROOT/demo-medium
SHOTS=$BUILD_ROOT/demo-shots
PREFIX=$BUILD_ROOT/wine-run
RUN_LOG=$BUILD_ROOT/demo-run.log
PREFIX_LOG=$BUILD_ROOT/wine-run-prefix.log
CAPTION="Quillmark Installer -- USB 2.0 Adapter"
FOLDERS=("DirectX9" "Quillmark Install" "Video Driver")
PROGRAMS=("DXSETUP.exe" "QuillmarkInstaller.exe" "Drenvo.exe")
RECORD=ran.txt # written by each demo installer next to itself

# ---------------------------------------------------------------------------------------
# The medium and the Wine prefix

lay_out_medium() {
  local installers=$BUILD_ROOT/win32/demo/installers i
  say "Laying out the demo medium in $MEDIUM"
  for i in "${!FOLDERS[@]}"; do
    [ -f "$installers/${FOLDERS[$i]}/${PROGRAMS[$i]}" ] ||
      fail "the build made no ${FOLDERS[$i]}/${PROGRAMS[$i]} in $installers; see $BUILD_ROOT/win32-build.log"
  done
  rm -rf "$MEDIUM"
  mkdir -p "$MEDIUM"
  cp "$BUILD_ROOT/win32/setup.exe" "$MEDIUM/"
  for i in "${!FOLDERS[@]}"; do
    mkdir -p "$MEDIUM/${FOLDERS[$i]}"
    cp "$installers/${FOLDERS[$i]}/${PROGRAMS[$i]}" "$MEDIUM/${FOLDERS[$i]}/"
  done
  "$REPO_ROOT/scripts/check-medium.sh" "$MEDIUM" >/dev/null ||
    fail "the demo medium in $MEDIUM is incomplete: $("$REPO_ROOT/scripts/check-medium.sh" "$MEDIUM" | head -n 1)"
}



# ---------------------------------------------------------------------------------------
# What the demo installers recorded

# Prints the record of step $1's demo installer without carriage returns; nothing if it
# did not run.
record_of() {
  local file=$MEDIUM/${FOLDERS[$1 - 1]}/$RECORD
  [ -f "$file" ] && tr -d '\r' <"$file"
  return 0
}

record_field() { record_of "$1" | sed -n "s/^$2: //p"; }

# The Windows form of a folder of the medium, as Wine shows the Unix root: drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Tells which installers ran, in which folder and with which command line. Given $1 (a
# word per step: ran or skipped), returns the number of steps that went otherwise or ran
# outside their own folder.
report_installers() {
  local expected=() step folder ended mismatches=0
  read -ra expected <<<"${1:-}"
  say "What the installers recorded"
  for step in 1 2 3; do
    folder=$(windows_path "$MEDIUM/${FOLDERS[$step - 1]}")
    if [ -z "$(record_of "$step")" ]; then
      printf '  step %s: %s did not run\n' "$step" "${PROGRAMS[$step - 1]}"
      [ "${expected[$step - 1]:-skipped}" = skipped ] || mismatches=$((mismatches + 1))
      continue
    fi
    printf '  step %s: %s ran\n' "$step" "${PROGRAMS[$step - 1]}"
    printf '          working directory: %s\n' "$(record_field "$step" 'working directory')"
    printf '          command line:      %s\n' "$(record_field "$step" 'command line')"
    ended=$(record_field "$step" ended)
    if [ -n "$ended" ]; then
      printf '          ended with %s\n' "$ended"
    else
      printf '          had not ended\n'
    fi
    if [ "$(record_field "$step" 'working directory')" != "$folder" ]; then
      printf '          (expected the working directory %s)\n' "$folder"
      mismatches=$((mismatches + 1))
    fi
    [ "${expected[$step - 1]:-ran}" = ran ] || mismatches=$((mismatches + 1))
  done
  return "$mismatches"
}

# ---------------------------------------------------------------------------------------
# Driving the window on the private display

# Polls every 0.1 s until the command "$@" succeeds; gives up after $1 seconds.
poll() {
  local limit=$1 _
  shift
  for _ in $(seq 1 $((limit * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

window_shown() { xdotool search --name "$1" >/dev/null 2>&1; }
window_gone() { ! window_shown "$1"; }
installer_started() { [ -f "$MEDIUM/${FOLDERS[$1 - 1]}/$RECORD" ]; }
installer_ended() { record_of "$1" | grep -q '^ended: '; }
setup_ended() { ! kill -0 "$SETUP_PID" 2>/dev/null; }

# A picture of the whole screen as raw pixels, reduced to a checksum.
screen_sum() { import -window root rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }

# Waits until the screen differs from checksum $1 and has then held still for three
# looks in a row (a window that has just been repainted); gives up after $2 seconds.
wait_for_new_steady_screen() {
  local before=$1 deadline=$((SECONDS + $2)) last="" now same=0
  while [ "$SECONDS" -lt "$deadline" ]; do
    now=$(screen_sum)
    if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 2 ] && return 0
    else
      same=0
    fi
    last=$now
    sleep 0.1
  done
  return 1
}

shot() {
  import -window root "$SHOTS/$1.png"
  printf '  %-28s %s\n' "$1.png" "$2"
}

# Stops the walk with a screenshot of how the screen looked at that moment.
drive_failed() {
  import -window root "$SHOTS/failure.png" 2>/dev/null || true
  fail "$* (screen at that moment: $SHOTS/failure.png; Wine's output: $RUN_LOG)"
}

# Where the wizard window is on the screen: left, top, width and height of its frame.
WINDOW_X=0 WINDOW_Y=0 WINDOW_W=0 WINDOW_H=0
measure_window() {
  local ids info
  ids=$(xdotool search --name "$CAPTION_PATTERN")
  info=$(xwininfo -id "${ids%%$'\n'*}")
  WINDOW_X=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
  WINDOW_Y=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
  WINDOW_W=$(awk '/Width:/ { print $2 }' <<<"$info")
  WINDOW_H=$(awk '/Height:/ { print $2 }' <<<"$info")
}

# The buttons' rectangles in dialog units: x, y, width, height.
declare -A BUTTON_RECT=(
  [1002]="260 20 50 15" [1003]="320 20 80 15"
  [1006]="260 55 50 15" [1008]="320 55 80 15"
  [1011]="260 89 50 15" [1012]="320 89 80 15"
  [1007]="375 215 35 15"
)
# The window's client area is 418 by 240 dialog units. Wine's frame of a dialog with a
# caption, at 96 dots per inch: a 3-pixel border all round and a 19-pixel caption bar.
FRAME=3 CAPTION_BAR=19

# Clicks the middle of the button with identifier $1 in the wizard window.
click_button() {
  local x y
  read -r x y < <(awk -v r="${BUTTON_RECT[$1]}" -v wx="$WINDOW_X" -v wy="$WINDOW_Y" \
    -v ww="$WINDOW_W" -v wh="$WINDOW_H" -v f="$FRAME" -v c="$CAPTION_BAR" 'BEGIN {
      split(r, b, " ")
      sx = (ww - 2 * f) / 418; sy = (wh - 2 * f - c) / 240
      printf "%d %d\n", wx + f + (b[1] + b[3] / 2) * sx, wy + f + c + (b[2] + b[4] / 2) * sy
    }')
  xdotool mousemove --sync "$x" "$y" click 1
}

# Presses "Install" of step $2 (button $1), shows the demo installer running and waits
# for it to end and for the window to settle in its next state.
install_step() {
  local button=$1 step=$2 before
  before=$(screen_sum)
  click_button "$button"
  poll 15 installer_started "$step" ||
    drive_failed "pressing Install of step $step did not start ${PROGRAMS[$step - 1]}"
  poll 10 window_shown "^Demo installer -- step $step\$" ||
    drive_failed "the window of ${PROGRAMS[$step - 1]} did not appear"
  sleep 0.3 # let it paint its text
  shot "installer-step$step" "${PROGRAMS[$step - 1]} running, setup.exe waiting for it"
  poll 15 installer_ended "$step" || drive_failed "${PROGRAMS[$step - 1]} did not end"
  poll 10 window_gone "^Demo installer -- step $step\$" ||
    drive_failed "the window of ${PROGRAMS[$step - 1]} did not close"
  wait_for_new_steady_screen "$before" 10 ||
    drive_failed "the window did not settle after step $step"
}

# The number of clearly red pixels on the screen: the message area's text.
red_pixels() {
  convert "$1" -alpha off -fuzz 25% -fill black +opaque '#ff0000' -fill white -opaque '#ff0000' \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}

run_headless() {
  rm -rf "$SHOTS"
  mkdir -p "$SHOTS"
  local started=$SECONDS before code
  say "Running setup.exe from the demo medium on the private display $DISPLAY"
  (cd "$MEDIUM" && exec wine setup.exe) >"$RUN_LOG" 2>&1 &
  SETUP_PID=$!
  poll 30 window_shown "$CAPTION_PATTERN" || drive_failed "the window \"$CAPTION\" did not appear"
  wait_for_new_steady_screen "" 10 || drive_failed "the window did not settle after it opened"
  measure_window
  printf '  window at %s,%s, %sx%s pixels; screenshots in %s:\n' \
    "$WINDOW_X" "$WINDOW_Y" "$WINDOW_W" "$WINDOW_H" "$SHOTS"
  shot S0-start "step 1 active"

  install_step 1002 1
  shot S1-after-step1 "step 1 installed, step 2 active"

  install_step 1006 2
  shot S2-after-step2 "step 2 installed, step 3 active, the red warning"
  local red
  red=$(red_pixels "$SHOTS/S2-after-step2.png")
  [ "$red" -gt 200 ] || drive_failed "no red message text after step 2 ($red red pixels)"

  before=$(screen_sum)
  click_button 1012
  wait_for_new_steady_screen "$before" 10 || drive_failed "pressing Skip of step 3 changed nothing"
  shot S3-after-step3 "step 3 skipped, step 4: plug the adapter in"

  click_button 1007
  poll 15 setup_ended ||
    drive_failed "setup.exe did not end after Done$(window_shown '^Installation Warning$' &&
      echo ' (it asked whether to quit: not all steps were taken)')"
  code=0
  wait "$SETUP_PID" || code=$?
  say "The walk through the four steps took $((SECONDS - started)) s"

  local mismatches=0
  report_installers "ran ran skipped" || mismatches=$?
  say "setup.exe ended with exit code $code"
  [ "$code" -eq 0 ] || fail "setup.exe ended with exit code $code, not 0"
  [ "$mismatches" -eq 0 ] ||
    fail "the installers did not run as the walk asked (Install, Install, Skip); see above"
}

run_on_display() {
  xwininfo -root >/dev/null 2>&1 || fail "cannot open the display $DISPLAY"
  say "Running setup.exe from $MEDIUM on $DISPLAY; click through it (the script waits)"
  local code=0
  (cd "$MEDIUM" && exec wine setup.exe) >"$RUN_LOG" 2>&1 || code=$?
  report_installers || true
  say "setup.exe ended with exit code $code"
  return "$code"
}

# ---------------------------------------------------------------------------------------

CAPTION_PATTERN="^${CAPTION//./\\.}\$"

ensure_tools
build_preset win32
lay_out_medium

headless=false
[ -n "${DISPLAY:-}" ] || headless=true
export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ensure_display
trap stop_wine_and_display EXIT
trap 'exit 130' INT TERM HUP
after_build=$SECONDS
prepare_wine_prefix "$PREFIX_LOG" Quillmark

code=0
if $headless; then
  run_headless
  say "Done: $((SECONDS - after_build)) s after the build; screenshots in $SHOTS"
else
  run_on_display || code=$?
fi
exit "$code"
