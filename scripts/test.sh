#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs every test.
# The Windows tests run under Wine on a private Xvfb display (tools/test-session.sh).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh || exit 1
for preset in host windows fuzz; do
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" || exit 1
done

status=0
ctest --preset host || status=1
ctest --preset fuzz || status=1
WINEPREFIX=$PWD/build/windows/wineprefix tools/test-session.sh ctest --preset windows || status=1
exit $status
