#!/usr/bin/env bash
# Inside a test session: starts the program, saves a screenshot of the chooser, chooses
# 接口3, saves one of the player, closes it and reports the exit code.
# usage: show-program.sh PROGRAM.exe OUTPUT_DIR
set -uo pipefail
program=$1 out=$2
class="^$(basename "$program" | sed 's/\./\\./g')\$"

wine "$program" &
pid=$!
fail() {
  echo "show-program: $1" >&2
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exit 1
}
wait_window() {  # wait_window TITLE: prints the X window id
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --classname "$class" 2>/dev/null); do
      [ "$(xdotool getwindowname "$w")" == "$1" ] && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

chooser=$(wait_window "") || fail "the chooser did not appear"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
xdotool mousemove --sync $((X + 200)) $((Y + 15))  # on the background, off the buttons
sleep 0.5
/usr/bin/import -window root "$out/screen-chooser.png"
echo "screenshot: $out/screen-chooser.png"

xdotool mousemove --sync $((X + 230)) $((Y + 50)) click 1  # 接口3
player=$(wait_window "请保持适当网速进行观看") || fail "the player did not appear"
sleep 0.5
xdotool key shift
xdotool type --delay 20 "https://video.example/watch?v=1"
sleep 0.3
/usr/bin/import -window root "$out/screen-player.png"
echo "screenshot: $out/screen-player.png"

xdotool key Escape
wait "$pid"
code=$?
echo "exit code: $code"
exit $code
