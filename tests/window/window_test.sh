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
# sends a window the close button's message, the system: linux (the default) or wine, and under
# Wine the helper that records the program's exit code as Windows reports it and the one that
# keeps the Wine desktop up.
set -uo pipefail
program=$(realpath "$1")
keep_dir=$(realpath "$2")
close_when_shown=$(realpath "$3")
system=${4:-linux}
exit_recorder=${5:-}
desktop_keeper=${6:-}
folder=$(mktemp -d)
shot=$folder/screen.png
pid=
busy=()
stop_busy() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2> /dev/null
  busy=()
}
trap stop_busy EXIT
source "$(dirname "$0")/../../scripts/wait_for.sh"

fail() {
  echo "FAILED: $*"
  echo "$(windows_seen)"
  [ -s "$shot" ] || import -window root "$shot" 2> /dev/null
  if [ -s "$shot" ]; then
    cp "$shot" "$keep_dir/window_test_failure.png"
    echo "screenshot kept in $keep_dir/window_test_failure.png"
  fi
  [ -n "$pid" ] && kill "$pid" 2> /dev/null
  stop_busy
  [ -s "$folder/program_errors.txt" ] && { echo "the program's error output:"; cat "$folder/program_errors.txt"; }
  [ -s "$folder/x_errors.txt" ] && { echo "the last X calls' errors:"; tail -n 5 "$folder/x_errors.txt"; }
  echo "the program's folder: $folder"
  exit 1
}

# The mapped windows on the screen, with their titles, positions and sizes: what a failed wait
# saw instead of what it waited for.
windows_seen() {
  local id seen=
  for id in $(xdotool search --onlyvisible --name '' 2> /dev/null); do
    seen+=$(printf '\n  0x%x "%s" %s' "$id" "$(xdotool getwindowname "$id" 2> /dev/null)" \
      "$(xdotool getwindowgeometry "$id" 2> /dev/null | sed -n 's/^ *Position: \([^ ]*\).*/at \1/p; s/^ *Geometry: /size /p' | tr '\n' ' ')")
  done
  echo "the mapped windows:${seen:- none}"
}

# The program's window as it stands now: mapped, titled Untitled and, where the system tells,
# of the program's class (window_class). Its id, or nothing. A window may be replaced or mapped
# again at any moment (Wine re-creates one when the screen changes mode), so no id is kept from
# one X call to the next: every call looks for the window anew.
program_window() {
  local titled
  titled=$(xdotool search --onlyvisible --name '^Untitled$' 2> /dev/null) || return 0
  if [ -n "$window_class" ]; then
    grep -Fx -f <(xdotool search --onlyvisible --class "$window_class" 2> /dev/null) <<< "$titled" | head -n 1
  else
    head -n 1 <<< "$titled"
  fi
}
has_window() { [ -n "$(program_window)" ]; }

# Runs the command with {} in its arguments replaced by the program's window, for at most the
# given number of seconds: while there is no such window, or the command fails because the
# window went away between finding it and using it, it looks again. 0 seconds: one try.
on_window() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds)) id
  while :; do
    id=$(program_window)
    [ -n "$id" ] && "${@//\{\}/$id}" 2>> "$folder/x_errors.txt" && return 0
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
# X calls on the window are given this long to find it.
x_call_seconds=20
screenshot() { on_window $x_call_seconds import -window {} "${1:-$shot}"; }
point_at() { on_window $x_call_seconds xdotool mousemove --window {} "$1" "$2"; }
# The window's size (WxH), or its drawing area's position (X Y), as X tells them now.
window_size() { on_window 0 xdotool getwindowgeometry {} | sed -n 's/^ *Geometry: //p'; }
window_position() { on_window 0 xdotool getwindowgeometry {} | sed -n 's/^ *Position: \([0-9-]*\),\([0-9-]*\) .*/\1 \2/p'; }
window_is() { [ "$(window_size)" = "$1" ]; }
# The window's drawing area stands where the system puts the inside of a window whose frame is
# at the screen's top left corner: no further right or down than the given offsets.
window_at_top_left() {
  local position
  position=$(window_position)
  [ -n "$position" ] || return 1
  set -- $position
  [ "$1" -ge 0 ] && [ "$1" -le "${frame_offset[0]}" ] && [ "$2" -ge 0 ] && [ "$2" -le "${frame_offset[1]}" ]
}
state_lines() { [ -f vorka.dat ] && [ "$(wc -l < vorka.dat)" -eq 17018 ]; }
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
    wait_for 40 window_or_end
    has_window && return
    kill -0 "$pid" 2> /dev/null && fail "waited 40 s for a mapped window titled Untitled; the program runs"
    cat "$folder/program_errors.txt" >&2
    grep -q "failed to open display" "$folder/program_errors.txt" || break
    echo "the program could not reach the display (start $attempt); starting it again" >&2
  done
  fail "the program ended without a window"
}
window_or_end() { has_window || ! kill -0 "$pid" 2> /dev/null; }

# Starts the program and waits for its window at the given size (640x480 by default), which
# stands at the screen's top left corner although no window manager places it. At 640x480 it
# also waits for the first picture (the caption drawn), so that the keys sent next meet a running
# program: on a busy machine a key sent just after Wine showed the window was lost now and then.
start() {
  local size=${1:-640x480}
  launch
  await 30 "the window mapped at $size" window_is "$size"
  await 10 "the window at the top left corner" window_at_top_left
  [ "$size" != 640x480 ] || await 30 "the first picture, with its caption" caption_shown
}
caption_shown() { screenshot && [ "$(pixels_of '#55FFFF' 120x16+312+0)" -gt 100 ]; }

# Waits for the program's end, for at most 30 s, and gives its exit code (137 when it had to
# be killed; the windows it still had are kept in windows_at_kill.txt).
exit_code() {
  rm -f "$folder/windows_at_kill.txt"
  (sleep 30 && windows_seen > "$folder/windows_at_kill.txt" && kill -KILL "$pid") 2> /dev/null &
  local watchdog=$! code
  wait "$pid"
  code=$?
  kill "$watchdog" 2> /dev/null
  wait "$watchdog" 2> /dev/null
  # Under Wine the program's own code, recorded once it ended (see record_exit_code_win32.cpp),
  # unless the program had to be killed; a code beyond a shell's range counts as 255.
  if [ -n "$exit_recorder" ] && [ -s "$recorded_exit_code" ]; then
    [ -f "$folder/windows_at_kill.txt" ] || code=$(tr -d '\r\n' < "$recorded_exit_code")
    rm "$recorded_exit_code"
    [ "$code" -le 255 ] || code=255
  fi
  return $code
}

# What ended the program with the given exit code, when it was not an end of its own.
how_killed() {
  [ "$1" -eq 137 ] || return 0
  if [ -f "$folder/windows_at_kill.txt" ]; then
    echo "; it did not end within 30 s; before it was killed, $(cat "$folder/windows_at_kill.txt")"
  else
    echo "; it was killed (SIGKILL) by another process than the test"
  fi
}

# Waits for the program's end and checks its exit code.
ended_with_zero() {
  exit_code
  local code=$?
  pid=
  [ "$code" -eq 0 ] || fail "$1: exit code $code$(how_killed "$code")"
}

# Sends the program's window the close message after the given delay (ms), as the close button
# does, and sends it again to a window of the program shown after the last went away (one that
# Wine replaced meanwhile), until the program ends or 30 s have passed.
close_until_ended() {
  "$close_when_shown" "$1" || return 1
  local deadline=$((SECONDS + 30))
  while kill -0 "$pid" 2> /dev/null && [ $SECONDS -lt $deadline ]; do
    has_window && "$close_when_shown" 0 2>> "$folder/x_errors.txt"
    sleep 0.2
  done
  return 0
}

# What differs between the systems: how the program runs, how the window is taken away from
# outside (on X11 by destroying it, as another program may; a Windows window by its close
# message), on how many screens at once the close rounds run (Wine keeps to one), where the
# drawing area stands in a window placed at the top left corner, and what has to run before
# the program's first start.
case $system in
  linux)
    cp "$program" "$folder/particle_swarm"
    run_program=(./particle_swarm)
    take_window_away() { on_window $x_call_seconds xdotool windowclose {}; }
    # freeglut gives its window no class: the title, on a server of the test's own, tells.
    window_class=
    close_screens=(0 1 2 3)
    frame_offset=(0 0)  # no window manager, no frame
    keep_desktop() { :; }  # X has no desktop of its own to start
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
    # The program runs under a helper that records its exit code: its own Linux process may be
    # killed by Wine on a busy machine after it has ended, which would hide the code.
    cp "$(realpath "$exit_recorder")" "$folder/record_exit_code.exe"
    recorded_exit_code=$folder/exit_code.txt
    run_program=(/usr/lib/wine/wine64 record_exit_code.exe exit_code.txt particle_swarm.exe)
    take_window_away() { close_until_ended 0; }
    # Wine gives the program's windows its file's name as their class. (The process it names
    # on them is not always the one started here: a first start in a new Wine prefix runs the
    # program from another.)
    window_class='^particle_swarm\.exe$'
    close_screens=(0)
    # Windows draws a frame and a caption bar around the drawing area (Wine: 4 and 23 pixels).
    frame_offset=(8 32)
    # The desktop kept up from before the first start to the end (see keep_desktop_win32.cpp):
    # a start of its own may fail as the program's would, so it is tried three times.
    cp "$(realpath "$desktop_keeper")" "$folder/keep_desktop.exe"
    keep_desktop() {
      local attempt
      for attempt in 1 2 3; do
        /usr/lib/wine/wine64 keep_desktop.exe desktop_kept 2> "$folder/desktop_errors.txt" &
        pid=$!
        wait_for 120 desktop_kept_or_ended
        [ -f desktop_kept ] && { pid=; return; }
        kill "$pid" 2> /dev/null
        echo "the Wine desktop did not start (try $attempt): $(cat "$folder/desktop_errors.txt")" >&2
      done
      pid=
      fail "the Wine desktop did not start in three tries of 120 s"
    }
    desktop_kept_or_ended() { [ -f desktop_kept ] || ! kill -0 "$pid" 2> /dev/null; }
    ;;
  *) fail "unknown system $system" ;;
esac
cd "$folder" || fail "no temporary folder"
await 20 "the virtual X server to answer" xdpyinfo > /dev/null 2>&1
keep_desktop

start
await 30 "a state file of 17018 lines" state_lines
sleep 1
screenshot || fail "no screenshot of the window"
caption=$(pixels_of '#55FFFF' 120x16+312+0)
[ "$caption" -gt 100 ] || fail "the caption's colour-11 pixels in row 1 from column 40: $caption"
outside=$(pixels_of '#55FFFF' 312x16+0+0)
[ "$outside" -eq 0 ] || fail "colour-11 pixels in row 1 before column 40: $outside"
border=$(pixels_of '#FFFF55' 640x480+0+0)
[ "$border" -gt 100 ] || fail "the yellow grid border: $border pixels"

before=$(cell_value)
point_at 44 408 || fail "the pointer could not be moved onto the window"
sleep 0.3
xdotool mousedown 3
sleep 0.2
xdotool mouseup 3
sleep 0.5
xdotool key m
wait_for 20 cell_changed "$before" || fail "waited 20 s: the rule cell still holds '$before' after the right click and m"
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
  screenshot "$folder/a.png" && sleep 1 && screenshot "$folder/b.png" &&
    [ "$(compare -metric AE "$folder/a.png" "$folder/b.png" null: 2>&1)" != 0 ]
}
screens_same() {
  screenshot "$folder/a.png" && sleep 1 && screenshot "$folder/b.png" &&
    [ "$(compare -metric AE "$folder/a.png" "$folder/b.png" null: 2>&1)" = 0 ]
}

start
sleep 1
point_at 300 300 || fail "the pointer could not be moved onto the window"
xdotool key Pause
await 20 "the Pause key to hold the picture" screens_same
xdotool key x
await 20 "a key after the pause to let the picture move again" screens_differ
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
menu_pixels() { screenshot && pixels_of '#555555' 264x160+376+32; }
menu_shown() { [ "$(menu_pixels)" -gt 1000 ]; }
menu_gone() { [ "$(menu_pixels)" -lt 100 ]; }
xdotool mousemove 100 300
xdotool keydown shift exec --sync --args 2 touch shift_held sleep 60 &
busy+=($!)
await 20 "Shift to be pressed" test -f shift_held
rm shift_held
start
# The menu also shows while the pointer is over its columns, and the pointer is not always where
# it was left: under Wine it was seen at the screen's middle after a start. It is put on the
# left of the window, as a user's would be, before the menu is looked for.
point_at 100 300 || fail "the pointer could not be moved onto the window"
await 20 "the menu while Shift is held from before the start" menu_shown
xdotool keyup shift
stop_busy
await 20 "the menu to go after Shift was released" menu_gone
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
    if ! close_until_ended $((RANDOM % 1000)); then
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
    [ "$code" -eq 0 ] || { echo "$DISPLAY, round $round: exit code $code$(how_killed "$code")"; return 1; }
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
  /usr/lib/wine/wine64 record_exit_code.exe exit_code.txt start /wait /unix "$folder/particle_swarm.exe" 2> "$folder/program_errors.txt" &
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
  wait_for 30 window_is 640x480 || fail "a click on Yes did not go on with the start: $(window_size)"
  box_shown && fail "a message box is shown after both reports were answered"
  point_at 300 300
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
  point_at 300 300
  sleep 0.2
  xdotool key alt+Return
  wait_for 20 window_is 1024x768 || fail "Alt+Enter: $(window_size)"
  printf ' 5 \r\n' > vorka.dat
  xdotool key b
  wait_for 20 box_shown || fail "no message box over the full screen window"
  sleep 0.5
  window_is 1024x768 || fail "the window left full screen for the report: $(window_size)"
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
  screenshot && [ "$(pixels_of '#0000AA' 240x20+200+130)" -gt 2000 ]
}
start 640x400
await 20 "the error report over the page" report_shown
# The No button of the box centred on the 640 x 400 page.
point_at 368 242 || fail "the pointer could not be moved onto the No button"
sleep 0.2
xdotool click 1
ended_with_zero "No in the error report"
# Alt+Enter over the report switches full screen and leaves the report open; Enter alone then
# presses the focused button, No after a Tab.
start 640x400
await 20 "the error report at the second start" report_shown
xdotool key Tab
sleep 0.2
xdotool key alt+Return
await 20 "the window at 1024x768 (full screen) after Alt+Enter over the report" window_is 1024x768
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "Alt+Enter over the report ended the program"
# The page fills the screen's width, 1.6 times as large: the box region grows with it.
full_screen_report_shown() { screenshot && [ "$(pixels_of '#0000AA' 384x32+320+272)" -gt 5000 ]; }
await 20 "the report over the full screen page" full_screen_report_shown
xdotool key Return
ended_with_zero "Enter on No in the error report"
start 640x400
await 20 "the error report at the third start" report_shown
xdotool key n
ended_with_zero "N in the error report"
start 640x400
await 20 "the error report at the fourth start" report_shown
take_window_away
ended_with_zero "closing the window during the error report"
[ "$(cat vorka.dat)" = "$(printf ' 5 \r\n')" ] || fail "the cut state file was written"

# A number beyond the single precision range in the saved state file: Y goes on with 0 in its
# place, the program starts as usual, and Esc saves the file with that 0.
cp saved_by_esc.dat vorka.dat
sed -i '803s/.*/ 1E+39\r/' vorka.dat
start 640x400
await 20 "the error report of the number too large" report_shown
xdotool key y
await 30 "the window at 640x480 (the start going on) after Y in the report" window_is 640x480
await 30 "the caption after Y in the error report" caption_shown
xdotool key Escape
ended_with_zero "Esc after Y in the error report"
state_lines && [ "$(cell_value)" = "$(printf ' 0 \r')" ] || fail "Y did not put 0 in place of the number too large: '$(cell_value)'"

rm -rf "$folder"
echo "window test passed"
