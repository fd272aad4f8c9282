#!/usr/bin/env bash
# Runs a command with a private Xvfb display and a persistent wineserver for the build's
# prefix, and stops both afterwards: tests never use the user's display or leave a
# process behind.
# usage: WINEPREFIX=... test-session.sh COMMAND [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${WINEPREFIX:?WINEPREFIX names the prefix}"
export WINEPREFIX WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
"$here/wine-prefix.sh" "$WINEPREFIX" || exit 1

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 "${LINEPLAYER_SCREEN:-1280x1024x24}" -nolisten tcp -noreset \
  3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "test-session: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
export LINEPLAYER_TEST_SESSION=1

# A persistent server, and Wine's own background processes started here with their output
# closed: otherwise the first program of a test starts them holding the test's pipes open,
# and CTest waits for those until its time-out.
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
"$@"
