#!/usr/bin/env bash
# The program in a real window on a virtual X server (run under xvfb-run), on Linux or, built for
# Windows, under Wine: the first start in an empty folder, the window at the screen's top left
# corner, a right click on a rule cell saved with "m", the end by Esc, a start paused by the
# Pause key and ended from outside, one ended by Ctrl+Break, one with Shift held from before it, starts closed by the close button's
# message at random moments of their first second while every core is kept busy (none may touch
# the state file), the error report of a state file cut short: answered No by a click, kept open
# through Alt+Enter (full screen) and then answered by Enter, answered by the key N, and left
# from outside, and the report of a number too large, answered by the key Y, after which the
# program goes on with 0 in its place.
# Arguments: the program, the folder where a screenshot of a failure is kept, the helper that
# sends a window the close button's message, and the system: linux (the default) or wine.
set -uo pipefail
program=$(realpath "$1")
keep_dir=$(realpath "$2")
close_when_shown=$(realpath "$3")
system=${4:-linux}
folder=$(mktemp -d)
shot=$folder/screen.png
pid=
busy=()
stop_busy() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2> /dev/null
  busy=()
}
trap stop_busy EXIT

fail() {
  echo "FAILED: $*"
  [ -s "$shot" ] || import -window root "$shot" 2> /dev/null
  if [ -s "$shot" ]; then
    cp "$shot" "$keep_dir/window_test_failure.png"
    echo "screenshot kept in $keep_dir/window_test_failure.png"
  fi
  [ -n "$pid" ] && kill "$pid" 2> /dev/null
  stop_busy
  [ -s "$folder/program_errors.txt" ] && { echo "the program's error output:"; cat "$folder/program_errors.txt"; }
  echo "the program's folder: $folder"
  exit 1
}

# Runs the command until it succeeds, for at most the given number of seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

window_id() { xdotool search --name '^Untitled$' 2> /dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
state_lines() { [ -f vorka.dat ] && [ "$(wc -l < vorka.dat)" -eq 17018 ]; }
window_is() { xdotool getwindowgeometry "$window" | grep -q "Geometry: $1"; }
# The window's drawing area stands where the system puts the inside of a window whose frame is
# at the screen's top left corner: no further right or down than the given offsets.
window_at_top_left() {
  local position
  position=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Position: \([0-9-]*\),\([0-9-]*\) .*/\1 \2/p')
  [ -n "$position" ] || return 1
  set -- $position
  [ "$1" -ge 0 ] && [ "$1" -le "${frame_offset[0]}" ] && [ "$2" -ge 0 ] && [ "$2" -le "${frame_offset[1]}" ]
}
cell_value() { sed -n 803p vorka.dat; }
cell_changed() { [ "$(cell_value)" != "$1" ]; }
# The number of pixels of the colour (#RRGGBB) in the part of the screenshot (WxH+X+Y).
pixels_of() { convert "$shot" -crop "$2" +repage txt:- | grep -c "$1"; }

# Starts the program and waits for its window. Under load the virtual X server has now and
# then refused a first connection ("failed to open display") although it answered just after:
# a start that ends for that reason alone is tried again, twice at most.
launch() {
  local attempt
  for attempt in 1 2 3; do
    "${run_program[@]}" 2> "$folder/program_errors.txt" &
    pid=$!
    wait_for 20 window_or_end
    if has_window; then
      window=$(window_id)
      return
    fi
    kill -0 "$pid" 2> /dev/null && break
    cat "$folder/program_errors.txt" >&2
    grep -q "failed to open display" "$folder/program_errors.txt" || break
    echo "the program could not reach the display (start $attempt); starting it again" >&2
  done
  fail "no window titled Untitled"
}
window_or_end() { has_window || ! kill -0 "$pid" 2> /dev/null; }

# Starts the program and waits for its window at the given size (640x480 by default), which
# stands at the screen's top left corner although no window manager places it.
start() {
  launch
  local size=${1:-640x480}
  wait_for 20 window_is "$size" || fail "the window did not take $size: $(xdotool getwindowgeometry "$window")"
  wait_for 5 window_at_top_left || fail "the window is not at the top left corner: $(xdotool getwindowgeometry "$window")"
}

# Waits for the program's end, for at most 20 s, and gives its exit code (137 when it had to
# be killed).
exit_code() {
  (sleep 20 && kill -KILL "$pid") 2> /dev/null &
  local watchdog=$! code
  wait "$pid"
  code=$?
  kill "$watchdog" 2> /dev/null
  wait "$watchdog" 2> /dev/null
  return $code
}

# Waits for the program's end and checks its exit code.
ended_with_zero() {
  exit_code
  local code=$?
  pid=
  [ "$code" -ne 137 ] || fail "$1: the program did not end"
  [ "$code" -eq 0 ] || fail "$1: exit code $code"
}

# What differs between the systems: how the program runs, how the window is taken away from
# outside (on X11 by destroying it, as another program may; a Windows window by its close
# message), on how many screens at once the close rounds run (Wine keeps to one), and where
# the drawing area stands in a window placed at the top left corner.
case $system in
  linux)
    cp "$program" "$folder/particle_swarm"
    run_program=(./particle_swarm)
    take_window_away() { xdotool windowclose "$window"; }
    close_screens=(0 1 2 3)
    frame_offset=(0 0)  # no window manager, no frame
    ;;
  wine)
    cp "$program" "$folder/particle_swarm.exe"
    # A Wine of its own, set up once in the build folder. Its background processes would keep
    # the caller's output open, so one wineserver stays up for the whole test.
    export WINEPREFIX=$keep_dir/wine-window WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wineserver -p
    stop_wine() { stop_busy; wineserver -k 2> /dev/null; }
    trap stop_wine EXIT
    run_program=(/usr/lib/wine/wine64 particle_swarm.exe)
    take_window_away() { "$close_when_shown" 0; }
    close_screens=(0)
    # Windows draws a frame and a caption bar around the drawing area (Wine: 4 and 23 pixels).
    frame_offset=(8 32)
    ;;
  *) fail "unknown system $system" ;;
esac
cd "$folder" || fail "no temporary folder"
wait_for 20 xdpyinfo > /dev/null 2>&1 || fail "the virtual X server does not answer"

start
wait_for 20 state_lines || fail "no state file of 17018 lines"
sleep 1
import -window "$window" "$shot" || fail "no screenshot"
caption=$(pixels_of '#55FFFF' 120x16+312+0)
[ "$caption" -gt 100 ] || fail "the caption's colour-11 pixels in row 1 from column 40: $caption"
outside=$(pixels_of '#55FFFF' 312x16+0+0)
[ "$outside" -eq 0 ] || fail "colour-11 pixels in row 1 before column 40: $outside"
border=$(pixels_of '#FFFF55' 640x480+0+0)
[ "$border" -gt 100 ] || fail "the yellow grid border: $border pixels"

before=$(cell_value)
xdotool mousemove --window "$window" 44 408
sleep 0.3
xdotool mousedown 3
sleep 0.2
xdotool mouseup 3
sleep 0.5
xdotool key m
wait_for 10 cell_changed "$before" || fail "the rule cell still holds '$before' after the right click and m"
changed=$(cell_value)
saved_by_m=$(stat -c %y vorka.dat)
sleep 0.1
xdotool key Escape
ended_with_zero "Esc"
[ "$(stat -c %y vorka.dat)" != "$saved_by_m" ] || fail "Esc did not save the state file"
state_lines && [ "$(cell_value)" = "$changed" ] || fail "the state file saved by Esc is not whole"

cp vorka.dat saved_by_esc.dat
checksum=$(md5sum < vorka.dat)
modified=$(stat -c %y vorka.dat)
file_unchanged() { [ "$(md5sum < vorka.dat)" = "$checksum" ] && [ "$(stat -c %y vorka.dat)" = "$modified" ]; }
# Two screenshots a second apart: the view turns by itself unless the program is paused.
screens_differ() {
  import -window "$window" "$folder/a.png" && sleep 1 && import -window "$window" "$folder/b.png"
  [ "$(compare -metric AE "$folder/a.png" "$folder/b.png" null: 2>&1)" != 0 ]
}

start
sleep 1
xdotool mousemove --window "$window" 300 300
xdotool key Pause
sleep 0.5
! screens_differ || fail "the Pause key did not hold the program"
xdotool key x
sleep 0.5
screens_differ || fail "a key after the pause did not let the program go on"
take_window_away
ended_with_zero "closing the window"
file_unchanged || fail "closing the window changed the state file"

start
sleep 1
xdotool key ctrl+Pause
ended_with_zero "Ctrl+Break"
file_unchanged || fail "Ctrl+Break changed the state file"

# Shift held from before the start: the menu shows from the first frames, and goes with the
# release. Its labels, colour 8, stand in rows 3-12 from column 48. The X server lets go of the
# keys that a client holds when the client ends, so the one that presses Shift stays running
# (a failure ends it with the busy loops); it leaves a file once the press is made.
menu_pixels() { import -window "$window" "$shot" && pixels_of '#555555' 264x160+376+32; }
xdotool mousemove 100 300
xdotool keydown shift exec --sync --args 2 touch shift_held sleep 60 &
busy+=($!)
wait_for 10 test -f shift_held || fail "Shift could not be pressed"
rm shift_held
start
sleep 1
held=$(menu_pixels)
xdotool keyup shift
stop_busy
[ "$held" -gt 1000 ] || fail "no menu while Shift was held from before the start: $held pixels"
sleep 0.5
released=$(menu_pixels)
[ "$released" -lt 100 ] || fail "the menu stayed after Shift was released: $released pixels"
take_window_away
ended_with_zero "closing the window after Shift"

# Closing under load: a late redraw or timer on the closed window used to end the program with
# exit code 1.
for _ in $(seq "$(nproc)"); do
  (while :; do :; done) &
  busy+=($!)
done
# Lanes of five rounds at once, each lane on a screen of its own, where its window is the only
# one; a lane prints what went wrong.
close_rounds() {
  export DISPLAY=$1
  local round=1 code retries=2 errors=$folder/lane_errors${1##*.}.txt
  while [ $round -le 5 ]; do
    "${run_program[@]}" 2> "$errors" &
    pid=$!
    if ! "$close_when_shown" $((RANDOM % 1000)); then
      kill "$pid" 2> /dev/null
      wait "$pid" 2> /dev/null
      if grep -q "failed to open display" "$errors" && [ $((retries--)) -gt 0 ]; then
        echo "$DISPLAY, round $round: the program could not reach the display; once more" >&2
        continue
      fi
      echo "$DISPLAY, round $round: no window to close: $(cat "$errors")"
      return 1
    fi
    exit_code
    code=$?
    [ "$code" -eq 0 ] || { echo "$DISPLAY, round $round: exit code $code"; return 1; }
    file_unchanged || { echo "$DISPLAY, round $round: the state file changed"; return 1; }
    round=$((round + 1))
  done
}
lanes=()
for screen in "${close_screens[@]}"; do
  close_rounds "${DISPLAY%.*}.$screen" > "$folder/lane$screen.txt" &
  lanes+=($!)
done
for lane in "${lanes[@]}"; do
  wait "$lane" || fail "closing the window under load: $(cat "$folder"/lane?.txt)"
done
pid=
stop_busy

# Under Wine the error report is the system's message box: a top-level window of its own, named
# by the report's caption, above every other window, its two buttons at its bottom on either
# side of its middle. Keys go to the window under the pointer (no window manager gives the
# focus). Its rounds replace those of the box drawn on Linux, and the test ends with them.
if [ "$system" = wine ]; then
  # The program's window is looked for anew at every use: Wine may replace it.
  program_geometry() { xdotool search --onlyvisible --name '^Untitled$' getwindowgeometry %1 2> /dev/null | tr '\n' ' '; }
  point_at_window() { xdotool search --onlyvisible --name '^Untitled$' mousemove --window %1 "$1" "$2"; }
  # The box of the report with the given code (62 when none is given).
  report_box() { xdotool search --onlyvisible --name "^Unhandled Error #${1:-62}\$" 2> /dev/null | head -n 1; }
  box_shown() { [ -n "$(report_box "$@")" ]; }
  # The box's place on the screen: left, top, width and height.
  box_geometry() {
    local box
    box=$(report_box "$@")
    [ -n "$box" ] && xwininfo -id "$box" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
      /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
  }
  # Moves the pointer onto the box of the code (62 when none is given): its middle, or its Yes
  # or No button.
  point_at_box() {
    local geometry
    geometry=$(box_geometry "${2:-62}")
    [ -n "$geometry" ] || return 1
    set -- $geometry "${1:-middle}"
    case $5 in
      yes) xdotool mousemove $(($1 + $3 / 2 - 32)) $(($2 + $4 - 22)) ;;
      no) xdotool mousemove $(($1 + $3 / 2 + 37)) $(($2 + $4 - 22)) ;;
      *) xdotool mousemove $(($1 + $3 / 2)) $(($2 + $4 / 3)) ;;
    esac
    sleep 0.2
  }
  start_with_box() {
    start 640x400
    wait_for 20 box_shown "${2:-62}" || fail "$1: no message box named Unhandled Error #${2:-62}"
    sleep 0.5
  }

  # Started as the file manager starts it, the program opens its window and no console beside it.
  cp saved_by_esc.dat vorka.dat
  /usr/lib/wine/wine64 start /wait /unix "$folder/particle_swarm.exe" 2> "$folder/program_errors.txt" &
  pid=$!
  wait_for 40 has_window || fail "no window when started by the system's start command"
  sleep 1
  others=$(xdotool search --onlyvisible --name '' 2> /dev/null | while read -r id; do
    xprop -id "$id" WM_CLASS | grep -qF '"particle_swarm.exe"' || echo "$(xdotool getwindowname "$id")"
  done)
  [ -z "$others" ] || fail "windows besides the program's own: $others"
  take_window_away
  ended_with_zero "closing the window of the program started by the start command"

  # A number too large in the file (#6), and its last value missing (#62): Yes by key goes on to
  # the second report, Yes by click on with the start; both values read as 0, and Esc saves them.
  head -n 17017 saved_by_esc.dat | sed '803s/.*/ 1E+39\r/' > vorka.dat
  start_with_box "a number too large" 6
  point_at_box middle 6
  xdotool key y
  wait_for 20 box_shown 62 || fail "Y in the message box did not go on to the next report"
  sleep 0.5
  point_at_box yes
  xdotool click 1
  wait_for 30 window_is 640x480 || fail "a click on Yes did not go on with the start: $(program_geometry)"
  box_shown && fail "a message box is shown after both reports were answered"
  point_at_window 300 300
  sleep 0.2
  xdotool key Escape
  ended_with_zero "Esc after Yes in the message boxes"
  saved=$(sed -n '803p; 17018p' vorka.dat | tr -d '\r' | tr '\n' '|')
  state_lines && [ "$saved" = " 0 | 0 |" ] || fail "the values of the reports were not saved as 0: $saved"

  # A state file that ends early: No by key and No by click end the program without saving, as
  # closing the box, or the program's window, from outside does.
  printf ' 5 \r\n' > vorka.dat
  start_with_box "No by key"
  point_at_box
  xdotool key n
  ended_with_zero "N in the message box"
  start_with_box "No by click"
  point_at_box no
  xdotool click 1
  ended_with_zero "a click on No in the message box"
  # Full screen (Alt+Enter) first, then a reload ("b") of the cut file: the box shows above the
  # window that covers the screen, and takes the answer.
  cp saved_by_esc.dat vorka.dat
  start
  point_at_window 300 300
  sleep 0.2
  xdotool key alt+Return
  wait_for 20 window_is 1024x768 || fail "Alt+Enter: $(program_geometry)"
  printf ' 5 \r\n' > vorka.dat
  xdotool key b
  wait_for 20 box_shown || fail "no message box over the full screen window"
  sleep 0.5
  window_is 1024x768 || fail "the window left full screen for the report: $(program_geometry)"
  # Seen on the screen, the box's place shows mostly the box's own light face.
  set -- $(box_geometry)
  import -window root "$shot" && [ "$(pixels_of '#F5F5F5' "$3x$4+$1+$2")" -gt $(($3 * $4 / 2)) ] ||
    fail "the message box is not shown above the full screen window"
  point_at_box
  xdotool key n
  ended_with_zero "N in the message box over the full screen window"
  start_with_box "the box closed from outside"
  "$close_when_shown" 0 "Unhandled Error #62" || fail "the message box could not be sent its close message"
  ended_with_zero "closing the message box"
  start_with_box "the window closed while the box shows"
  take_window_away
  ended_with_zero "closing the window while the message box shows"
  wait_for 10 eval '! box_shown' || fail "the message box stayed after the program ended"
  [ "$(cat vorka.dat)" = "$(printf ' 5 \r\n')" ] || fail "the cut state file was written"

  rm -rf "$folder"
  echo "window test passed"
  exit 0
fi

# A state file that ends early: the report stops the start-up in the text screen, 640 x 400.
printf ' 5 \r\n' > vorka.dat
report_shown() {
  import -window "$window" "$shot" && [ "$(pixels_of '#0000AA' 240x20+200+130)" -gt 2000 ]
}
start 640x400
wait_for 10 report_shown || fail "no error report over the page"
# The No button of the box centred on the 640 x 400 page.
xdotool mousemove --window "$window" 368 242
sleep 0.2
xdotool click 1
ended_with_zero "No in the error report"
# Alt+Enter over the report switches full screen and leaves the report open; Enter alone then
# presses the focused button, No after a Tab.
start 640x400
wait_for 10 report_shown || fail "no error report at the second start"
xdotool key Tab
sleep 0.2
xdotool key alt+Return
wait_for 10 window_is 1024x768 || fail "Alt+Enter over the report: $(xdotool getwindowgeometry "$window")"
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "Alt+Enter over the report ended the program"
# The page fills the screen's width, 1.6 times as large: the box region grows with it.
import -window "$window" "$shot" && [ "$(pixels_of '#0000AA' 384x32+320+272)" -gt 5000 ] ||
  fail "the report is not shown over the full screen page"
xdotool key Return
ended_with_zero "Enter on No in the error report"
start 640x400
wait_for 10 report_shown || fail "no error report at the third start"
xdotool key n
ended_with_zero "N in the error report"
start 640x400
wait_for 10 report_shown || fail "no error report at the fourth start"
take_window_away
ended_with_zero "closing the window during the error report"
[ "$(cat vorka.dat)" = "$(printf ' 5 \r\n')" ] || fail "the cut state file was written"

# A number beyond the single precision range in the saved state file: Y goes on with 0 in its
# place, the program starts as usual, and Esc saves the file with that 0.
cp saved_by_esc.dat vorka.dat
sed -i '803s/.*/ 1E+39\r/' vorka.dat
start 640x400
wait_for 10 report_shown || fail "no error report for the number too large"
xdotool key y
wait_for 20 window_is 640x480 || fail "Y did not go on with the start: $(xdotool getwindowgeometry "$window")"
sleep 1
import -window "$window" "$shot" && [ "$(pixels_of '#55FFFF' 120x16+312+0)" -gt 100 ] ||
  fail "no caption after Y in the error report"
xdotool key Escape
ended_with_zero "Esc after Y in the error report"
state_lines && [ "$(cell_value)" = "$(printf ' 0 \r')" ] || fail "Y did not put 0 in place of the number too large: '$(cell_value)'"

rm -rf "$folder"
echo "window test passed"
