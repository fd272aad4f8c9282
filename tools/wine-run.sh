#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build tree's own prefix, on a
# display of its own: CTest's emulator for the Windows build.
# usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1

if [ -z "${WINEPREFIX:-}" ]; then
  # Programs live in BUILD/bin; the prefix is BUILD/wineprefix.
  WINEPREFIX=$(cd "$(dirname "$program")/.." && pwd)/wineprefix
fi
export WINEPREFIX WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
"$here/wine-prefix.sh" "$WINEPREFIX"

if [ -z "${LINEPLAYER_TEST_SESSION:-}" ]; then
  exec "$here/test-session.sh" wine "$@"
fi
exec wine "$@"
