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
fuzz_status=0
ctest --preset fuzz || fuzz_status=1
WINEPREFIX=$PWD/build/windows/wineprefix tools/test-session.sh ctest --preset windows || status=1

# A fuzzer's report sits amid thousands of progress lines: repeat what it found, with the
# input in base64, as the last thing printed.
if [ $fuzz_status -ne 0 ]; then
  status=1
  echo "Fuzz findings:"
  grep -h -E '(ERROR|SUMMARY): |Test unit written|^Base64: ' build/fuzz/Testing/Temporary/LastTest.log || true
fi
exit $status
