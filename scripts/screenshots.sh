#!/usr/bin/env bash
# Remakes the README's screenshots from the real program under Wine: the chooser at rest
# and on hover, and the player. Writes docs/chooser-rest.png, docs/chooser-hover.png and
# docs/player.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target lineplayer lineplayer_loopback
export WINEPREFIX=$PWD/build/windows/wineprefix
tools/test-session.sh python3 tests/exe/test_chooser.py build/windows/bin/lineplayer.exe \
  Chooser.test_labels_grey_at_rest_and_red_under_the_pointer
tools/test-session.sh python3 tests/exe/test_player.py build/windows/bin/lineplayer_loopback.exe \
  Player.test_typical_run_sends_prefix_then_address_and_ends_with_0
mkdir -p docs
for name in chooser-rest chooser-hover player; do
  cp "build/windows/screenshots/$name.png" "docs/$name.png"
  echo "docs/$name.png"
done
