#!/usr/bin/env bash
# Builds the program and starts it under Wine on a virtual display, saves a screenshot to
# build/screenshots/, then closes it and prints its exit code.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows --target lineplayer || exit 1
mkdir -p build/screenshots
WINEPREFIX=$PWD/build/windows/wineprefix exec tools/test-session.sh tools/show-program.sh \
  build/windows/bin/lineplayer.exe build/screenshots
