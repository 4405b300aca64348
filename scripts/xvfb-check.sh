#!/usr/bin/env bash
# Starts the real program under a virtual X server and drives it as a user would, with real
# mouse and keyboard events: the menu "Geometry" > "Test case for sphere", typing the panel
# counts into Text_NI and Text_NJ, "Calculate sphere coordinates", "Apply Hess panel method".
# Then checks the report the program wrote in its working directory. Last, it starts a long
# solve, watches its progress and cancels it, and checks that the report is as it was.
#
# Usage: scripts/xvfb-check.sh PATH/TO/tarvenol [SCREENSHOT.png [LONG-WORK.png]]
# With SCREENSHOT, the view is turned a little and the window saved there (ImageMagick); with
# LONG-WORK, the window while the long solve runs.
# Exit status: 0 when the report holds what the clicks asked for, 77 when Xvfb or xdotool is
# not installed (the check is skipped), 1 otherwise.
set -euo pipefail

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
program="$(realpath "$1")"
shot="${2:+$(realpath -m "$2")}"
long_shot="${3:+$(realpath -m "$3")}"

work="$(mktemp -d)"
xvfb="" app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  [ -f "$work/run/Tarvenol.txt" ] && head -c 2000 "$work/run/Tarvenol.txt" >&2
  exit 1
}

# A free display, chosen by the server itself.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$work/run"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb

cd "$work/run"
"$program" >"$work/program.log" 2>&1 &
app=$!
window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -1)" ||
  fail "the window Form1 did not appear: $(cat "$work/program.log")"
# Without a window manager the window sits at the screen's top-left corner. Its client area is
# 549 pixels high at 96 dots per inch; the menu bar takes the rest.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu=$((HEIGHT - 549))
[ "$menu" -gt 5 ] && [ "$menu" -lt 60 ] || fail "unexpected window height $HEIGHT"

click() { xdotool mousemove "$1" $(($2 + menu)) click 1; sleep 0.3; }
# Replaces the text of the box at the given client position.
type_into() {
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 20 "$3"
  sleep 0.2
}
wait_for_report() {
  for _ in $(seq 150); do
    grep -qF -- "$1" Tarvenol.txt 2>/dev/null && return 0
    sleep 0.2
  done
  fail "the report never showed \"$1\""
}

[ -f Tarvenol.txt ] || sleep 1
[ -f Tarvenol.txt ] && [ ! -s Tarvenol.txt ] || fail "the report was not emptied at start-up"

# Menu "Geometry" (left in the menu bar), then its first item from the keyboard.
xdotool mousemove 30 $((menu / 2)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.3

type_into 52 25 8    # Text_NI
type_into 108 26 12  # Text_NJ
click 196 28         # Command_Sphere, "Calculate sphere coordinates"
wait_for_report " Coordinates of panel corner points in panel axis"

# Nine profile points for NI = 8, and thirteen meridian stations (NJ1) in each grid row.
profile="$(sed -n '/^ Profile of the body of revolution/,/^ Coordinates of the body/p' Tarvenol.txt)"
grep -q '^ 9    ' <<<"$profile" || fail "the profile does not have 9 points"
! grep -q '^ 10    ' <<<"$profile" || fail "the profile has more than 9 points"
[ "$(grep -m1 '^ x    = ' Tarvenol.txt | wc -w)" -eq 15 ] ||
  fail "a grid row does not have 13 stations"

click 360 28  # Command_HessPan, "Apply Hess panel method"
wait_for_report "1-Cp"
grep -qF "Source strengths" Tarvenol.txt || fail "no source strengths in the report"
sleep 0.5

if [ -n "$shot" ]; then
  # Turned a little for the picture: two page steps on the x bar, two back on the y bar, and
  # drawn twice as large with one step down the scale bar.
  click 400 472
  click 400 472
  click 140 497
  click 140 497
  click 28 400
  sleep 0.5
  import -window "$window" "$shot"
fi
kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"

# A long solve: 72 x 72 panels, cancelled early, while it computes or writes its matrices.
xdotool mousemove 30 $((menu / 2)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.3
type_into 52 25 72   # Text_NI
type_into 108 26 72  # Text_NJ
click 196 28         # Command_Sphere
for _ in $(seq 150); do
  [ "$(grep -c "Coordinates of panel corner points in panel axis" Tarvenol.txt)" -eq 2 ] && break
  sleep 0.2
done
sleep 0.5
cp Tarvenol.txt "$work/before-solve.txt"
click 360 28  # Command_HessPan
sleep 0.4
[ -n "$long_shot" ] && import -window "$window" "$long_shot"
click 410 28  # Command_Cancel, at the right of the progress panel over the buttons
for _ in $(seq 300); do
  cmp -s Tarvenol.txt "$work/before-solve.txt" && break
  sleep 0.2
done
cmp -s Tarvenol.txt "$work/before-solve.txt" || fail "the cancelled solve changed the report"
sleep 1
cmp -s Tarvenol.txt "$work/before-solve.txt" || fail "the cancelled solve went on writing"
kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"
echo "passed: the report holds the sphere with NI = 8, NJ = 12 and its solution; a long solve"
echo "        was cancelled and left the report as it was"
