#!/usr/bin/env bash
# Starts the real program under a virtual X server and drives it as a user would, with real
# mouse and keyboard events: the menu "Geometry" > "Test case for sphere", typing the panel
# counts into Text_NI and Text_NJ, "Calculate sphere coordinates", "Apply Hess panel method".
# Then checks the report the program wrote in its working directory. It starts a long solve,
# watches its progress and cancels it, and checks that the report is as it was; starts it
# again and stops it with Escape after a key typed meanwhile; closes the message about a bad
# body file with Return and the chooser with Escape; opens the plot of the pressure; and
# last prepares a geometry with the NJ typed at first, which shows that no key typed while
# the work ran or behind the message reached the panel counts. Without a window manager it
# also reads the icon the program gave its window. Last it solves a sphere of 160 x 160 panels
# by the body's symmetry, which Return takes from the question, and drives the result windows:
# the added masses clicked twice while they run, stopped by Escape and run again; the flow
# stopped by Escape, computed again by its button; every result window beside the main window
# and clear of the others' tops, kept with it as its transient, and closed by Escape.
#
# All of it runs twice: with no window manager, and under openbox where it is installed.
# Placement, focus and icons differ between the two, and users have both.
#
# Usage: scripts/xvfb-check.sh PATH/TO/tarvenol [SCREENSHOT.png [LONG-WORK.png [RESULTS]]]
# With SCREENSHOT, the view is turned a little and the window saved there (ImageMagick); with
# LONG-WORK, the window while the long solve runs; with RESULTS, the result windows at work and
# done, as RESULTS-incidence-working.png and so on, and the screen as RESULTS-screen.png. All
# are taken without a window manager.
# Exit status: 0 when every check passed, 77 when Xvfb or xdotool is not installed (the check
# is skipped), 1 otherwise.
set -euo pipefail

for tool in Xvfb xdotool xwininfo xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
program="$(realpath "$1")"
shot="${2:+$(realpath -m "$2")}"
long_shot="${3:+$(realpath -m "$3")}"
results_shot="${4:+$(realpath -m "$4")}"

work="$(mktemp -d)"
xvfb="" app="" wm=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
pass=""
fail() {
  echo "FAILED ($pass): $*" >&2
  [ -f "$run/Tarvenol.txt" ] && head -c 2000 "$run/Tarvenol.txt" >&2
  exit 1
}

# A free display, chosen by the server itself.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb

# Left, top, width and height of a window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                           /^  Width/ {w = $NF} /^  Height/ {h = $NF} END {print x, y, w, h}'
}

# Clicks at a position of the main window's client area (below the menu bar).
click() { xdotool mousemove $((left + $1)) $((top + menu + $2)) click 1; sleep 0.3; }
# Opens a menu of the menu bar at that x, then chooses its item with the keys given.
menu_item() {
  xdotool mousemove $((left + $1)) $((top + menu / 2)) click 1
  sleep 0.5
  shift
  xdotool key "$@"
  sleep 0.3
}
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
wait_for_geometries() {
  for _ in $(seq 150); do
    [ "$(grep -c "Coordinates of panel corner points in panel axis" Tarvenol.txt)" -eq "$1" ] &&
      return 0
    sleep 0.2
  done
  fail "the report never held $1 geometries"
}
# The id of the visible window of that title, or nothing.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
# The first visible window named $1, waited for up to $2 seconds (30 when not given). A window
# that goes while xdotool looks at it (X's BadWindow) is only a reason to look again.
await_window() {
  local w
  for _ in $(seq $((${2:-30} * 4))); do
    w="$(window_named "$1" || true)"
    [ -n "$w" ] && echo "$w" && return 0
    sleep 0.25
  done
  return 1
}
# Saves the window, raised, as RESULTS-NAME.png, without a window manager.
result_shot() {
  if [ -n "$results_shot" ] && [ -z "$wm" ]; then
    xdotool windowraise "$1"
    sleep 0.3
    import -window "$1" "$results_shot-$2.png"
  fi
}
# Clicks at a position of a window's client area.
click_in() {
  local x y
  read -r x y _ <<<"$(geometry "$1")"
  xdotool mousemove $((x + $2)) $((y + $3)) click 1
  sleep 0.3
}
# CPU time the program has used, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
# Waits until the program's work has stopped: less than a tenth of a second of CPU in a second.
wait_until_idle() {
  local before after
  for _ in $(seq 60); do
    before="$(cpu_ticks)"
    sleep 1
    after="$(cpu_ticks)"
    [ $((after - before)) -lt $(($(getconf CLK_TCK) / 10)) ] && return 0
  done
  fail "the $1 work went on"
}
# Whether the program used half a processor or more over the given tenths of a second.
busy_over() {
  local before
  before="$(cpu_ticks)"
  sleep "$(($1 / 10)).$(($1 % 10))"
  [ $(($(cpu_ticks) - before)) -ge $(($(getconf CLK_TCK) * $1 / 20)) ]
}
# Presses Escape in a result window (the name of the variable that holds the window, its work's
# name, its title) while its work
# runs, which stops the work and keeps the window. Work keeps a processor busy, as the window's
# painting does not: the program must have used half a processor over half a second, and again
# over the last tenth of a second before the key. On a machine fast enough to have finished the
# work already there is nothing to stop, and Escape would close the window as it should: then
# the key is not pressed. Work that ends between the last look and the key is told apart from a
# window closed at work by what the window keeps: opened again (the command REOPEN) its button
# at X, Y starts the work again only where Escape threw the result away. The variable then
# holds the window opened again.
escape_at_work() {
  if ! busy_over 5 || ! busy_over 1; then
    echo "note: the $2 work was done before Escape; nothing to stop"
    return 0
  fi
  local -n window="$1"
  xdotool key Escape
  wait_until_idle "$2"
  xdotool search --onlyvisible --name "^$3\$" | grep -qx "$window" && return 0
  eval "$4"
  window="$(await_window "$3")" || fail "the $2 window did not open again"
  sleep 0.5
  click_in "$window" "$5" "$6"
  busy_over 5 && fail "Escape closed the $2 window at work"
  echo "note: the $2 work ended as Escape came, and the window kept its result"
}
wait_for_report_as_before() {
  wait_until_idle "$1"
  cmp -s Tarvenol.txt "$run/before-solve.txt" || fail "the $1 solve changed the report"
}
# Words on the first grid row of x of the last geometry: "x", "=" and a number a meridian
# station.
last_grid_row_words() {
  awk '/^ Coordinates of the body of revolution/ {grid = 1; row = ""}
       grid && /^ x    = / {row = $0; grid = 0} END {print row}' Tarvenol.txt | wc -w
}

drive() {
  pass="$1"
  run="$work/run-$pass"
  mkdir -p "$run"
  cd "$run"
  printf '0\n3\n0\n1,0,0\n2,0.5,x\n3,1,0\n' >bad.body
  "$program" >"$run/program.log" 2>&1 &
  app=$!
  window="$(await_window Form1)" ||
    fail "the window Form1 did not appear: $(cat "$run/program.log")"
  sleep 0.5
  read -r left top width height <<<"$(geometry "$window")"
  width_main=$width height_main=$height
  # Its client area is 549 pixels high at 96 dots per inch; the menu bar takes the rest.
  menu=$((height - 549))
  [ "$menu" -gt 5 ] && [ "$menu" -lt 60 ] || fail "unexpected window height $height"
  if [ -z "$wm" ]; then
    [ "$left" -eq 0 ] && [ "$top" -eq 0 ] || fail "without a window manager at $left, $top"
    # The program set its icon: no window manager is there to paint one of its own.
    [[ "$(xprop -id "$window" _NET_WM_ICON)" == "_NET_WM_ICON(CARDINAL) = "* ]] ||
      fail "the window has no icon"
  fi
  click 200 300  # the picture: the window takes the keyboard

  [ -f Tarvenol.txt ] || sleep 1
  [ -f Tarvenol.txt ] && [ ! -s Tarvenol.txt ] || fail "the report was not emptied at start-up"

  menu_item 30 Down Return  # "Geometry", "Test case for sphere"
  type_into 52 25 8         # Text_NI
  type_into 108 26 12       # Text_NJ
  click 196 28              # Command_Sphere, "Calculate sphere coordinates"
  wait_for_report " Coordinates of panel corner points in panel axis"

  # Nine profile points for NI = 8, and thirteen meridian stations (NJ1) in each grid row.
  profile="$(sed -n '/^ Profile of the body of revolution/,/^ Coordinates of the body/p' Tarvenol.txt)"
  grep -q '^ 9    ' <<<"$profile" || fail "the profile does not have 9 points"
  ! grep -q '^ 10    ' <<<"$profile" || fail "the profile has more than 9 points"
  [ "$(last_grid_row_words)" -eq 15 ] || fail "a grid row does not have 13 stations"

  click 360 28  # Command_HessPan, "Apply Hess panel method"
  wait_for_report "1-Cp"
  grep -qF "Source strengths" Tarvenol.txt || fail "no source strengths in the report"
  sleep 0.5

  if [ -n "$shot" ] && [ -z "$wm" ]; then
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
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$run/program.log")"

  # A long solve: 72 x 72 panels, cancelled early, while it computes or writes its matrices.
  menu_item 30 Down Return
  type_into 52 25 72   # Text_NI
  type_into 108 26 72  # Text_NJ
  click 196 28         # Command_Sphere
  wait_for_geometries 2
  sleep 0.5
  cp Tarvenol.txt "$run/before-solve.txt"
  click 360 28  # Command_HessPan
  sleep 0.4
  [ -n "$long_shot" ] && [ -z "$wm" ] && import -window "$window" "$long_shot"
  click 410 28  # Command_Cancel, at the right of the progress panel over the buttons
  wait_for_report_as_before cancelled

  # Apply again after the cancel: a key typed while it runs goes to no count, and Escape
  # stops it.
  click 360 28
  sleep 0.4
  xdotool type 7
  xdotool key Escape
  wait_for_report_as_before "escaped"

  # A bad body file: its message closed with Return, a key typed after it, and the chooser
  # closed with Escape.
  menu_item 30 Down Down Return  # "Geometry", "Read data from a file"
  click 290 140                  # bad.body, the first name in File_Body
  await_window Tarvenol >/dev/null || fail "no message about the bad body file"
  sleep 0.3
  xdotool key Return
  sleep 0.5
  xdotool type 7
  xdotool key Escape
  sleep 0.3

  # The plot of the pressure opens beside the window, on the screen.
  menu_item 160 Down Return  # "Results", "Pressure along the body"
  plot="$(await_window 'Pressure along the body')" || fail "the plot's window did not appear"
  sleep 0.5
  read -r plot_left plot_top plot_width plot_height <<<"$(geometry "$plot")"
  [ "$plot_left" -ge $((left + width)) ] || [ $((plot_left + plot_width)) -le "$left" ] ||
    fail "the plot at $plot_left, $plot_top covers the window at $left, $top"
  [ "$plot_left" -ge 0 ] && [ "$plot_top" -ge 0 ] && [ $((plot_left + plot_width)) -le 1024 ] &&
    [ $((plot_top + plot_height)) -le 768 ] ||
    fail "the plot ${plot_width}x$plot_height at $plot_left, $plot_top is off the screen"

  # NJ is still the 72 typed before the work: 73 stations in each grid row.
  click 200 300
  menu_item 30 Down Return
  type_into 52 25 8
  click 196 28
  wait_for_geometries 3
  [ "$(last_grid_row_words)" -eq 75 ] ||
    fail "NJ changed while the work ran or behind a message: $(last_grid_row_words) words in a grid row"

  result_windows
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$run/program.log")"
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
  cd "$work"
}

# The result windows of a solution that takes seconds to take further.
result_windows() {
  local incidence field plot main_id w x y width height
  menu_item 30 Down Return  # "Geometry", "Test case for sphere"
  type_into 52 25 160
  type_into 108 26 160
  click 196 28
  wait_for_geometries 4
  wait_until_idle "geometry's"
  click 360 28
  await_window Tarvenol 60 >/dev/null || fail "no offer of the solve by the body's symmetry"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 300); do
    [ "$(grep -c "The matrix was not formed" Tarvenol.txt)" -eq 3 ] && break
    sleep 0.2
  done
  [ "$(grep -c "The matrix was not formed" Tarvenol.txt)" -eq 3 ] ||
    fail "Return did not take the solve by the body's symmetry"
  wait_until_idle "symmetric"

  # The added masses: a second click while they run starts nothing and ends nothing.
  menu_item 160 Down Down Return
  incidence="$(await_window 'Body at incidence')" || fail "the incidence window did not appear"
  sleep 0.5
  read -r x y width height <<<"$(geometry "$incidence")"
  click_in "$incidence" 60 $((height - 22))
  click_in "$incidence" 60 $((height - 22))
  kill -0 "$app" 2>/dev/null || fail "a second click on the added masses ended the program"
  result_shot "$incidence" incidence-working
  click_in "$incidence" $((width / 2)) $((height / 2))
  escape_at_work incidence "added masses'" 'Body at incidence' \
    'menu_item 160 Down Down Return' 60 $((height - 22))
  click_in "$incidence" 60 $((height - 22))
  wait_until_idle "added masses'"
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$run/program.log")"
  result_shot "$incidence" incidence

  # The flow: stopped by Escape, offered again and computed by its button.
  menu_item 160 Down Down Down Return
  field="$(await_window 'Flow around the body')" || fail "the flow window did not appear"
  sleep 0.3
  result_shot "$field" field-working
  read -r x y width height <<<"$(geometry "$field")"
  click_in "$field" $((width / 2)) $((height * 2 / 3))
  escape_at_work field "flow's" 'Flow around the body' \
    'menu_item 160 Down Down Down Return' 190 16
  result_shot "$field" field-cancelled
  click_in "$field" 190 16  # "Compute the flow"
  wait_until_idle "flow's"
  result_shot "$field" field
  [ -n "$results_shot" ] && [ -z "$wm" ] && import -window root "$results_shot-screen.png"

  # Kept with the main window; where the screen has room beside it (550 pixels, the least a
  # result window takes), beside it and clear of the tops of the others.
  main_id="$(printf '0x%x' "$window")"
  plot="$(window_named 'Pressure along the body')"
  room=$((1024 - left - width_main > left ? 1024 - left - width_main : left))
  for w in "$plot" "$incidence" "$field"; do
    read -r x y width height <<<"$(geometry "$w")"
    [ "$room" -lt 550 ] || [ "$x" -ge $((left + width_main)) ] || [ $((x + width)) -le "$left" ] ||
      [ "$y" -ge $((top + height_main)) ] || fail "a result window at $x, $y covers the main window"
    [[ "$(xprop -id "$w" WM_TRANSIENT_FOR)" == *"# $main_id" ]] ||
      fail "a result window ($w) is not the main window's transient: $(xprop -id "$w" WM_TRANSIENT_FOR 2>&1)"
  done
  read -r x y width _ <<<"$(geometry "$field")"
  for w in "$plot" "$incidence"; do
    read -r left_other top_other width_other _ <<<"$(geometry "$w")"
    [ "$room" -lt 550 ] || [ "$x" -ge $((left_other + width_other)) ] ||
      [ $((x + width)) -le "$left_other" ] || [ "$y" -ge $((top_other + 40)) ] ||
      [ "$y" -le "$top_other" ] || fail "the flow's window covers the top of another result window"
  done
  if [ -n "$wm" ]; then
    # A click on the main window leaves the result windows above it.
    click 200 300
    stacking="$(xprop -root _NET_CLIENT_LIST_STACKING)"
    [[ "${stacking##*"$main_id"}" == *"$(printf '0x%x' "$field")"* ]] ||
      fail "a click on the main window buried the flow's window: $stacking"
  fi

  # Escape closes each of them, with no work running.
  for w in "$field" "$incidence" "$plot"; do
    click_in "$w" 30 60
    xdotool key Escape
    sleep 0.5
    ! xdotool search --onlyvisible --name '^(Flow around the body|Body at incidence|Pressure along the body)$' |
      grep -qx "$w" || fail "Escape did not close a result window"
  done
}

drive "no window manager"
if command -v openbox >/dev/null; then
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  sleep 1
  drive "openbox"
  passes="without a window manager and under openbox"
else
  passes="without a window manager (openbox is not installed)"
fi
echo "passed $passes: the report holds the sphere with NI = 8, NJ = 12 and its solution; a"
echo "        long solve was cancelled, then stopped by Escape, and left the report as it was;"
echo "        no key reached the counts; the plot opened beside the window; the result windows"
echo "        stood a second click, stopped at Escape, opened beside the window and each other"
