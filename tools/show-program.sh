#!/usr/bin/env bash
# Inside a test session: starts the program, waits for its window, saves a screenshot,
# closes the window and reports the exit code.
# usage: show-program.sh PROGRAM.exe OUTPUT_DIR
set -uo pipefail
program=$1 out=$2

wine "$program" &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --classname '^lineplayer\.exe$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "show-program: no window appeared" >&2
  kill "$pid" 2>/dev/null
  wait "$pid"
  exit 1
fi
sleep 0.5
/usr/bin/import -window root "$out/chooser.png"
echo "screenshot: $out/chooser.png"
xdotool windowactivate --sync "$window" key Escape 2>/dev/null || xdotool key Escape
wait "$pid"
code=$?
echo "exit code: $code"
exit $code
