#!/usr/bin/env bash
# Benchmarks and the reproducible-build check; never run by the tests. Builds what it needs
# in build/bench-*, measures, and ends with a table of each figure against its goal.
# Takes four to five minutes; needs what scripts/install-deps.sh installs.
#
#   LINEPLAYER_BENCH_ROUNDS=11          rounds of the start-up and click figures
#   LINEPLAYER_BENCH_PASTE_ROUNDS=3     rounds of the short paste figures
#   LINEPLAYER_BENCH_PASTE_SECONDS=90   how long the 1 MB paste may take before it counts as over
#   LINEPLAYER_BENCH_LINKER_FLAGS=...   extra CMAKE_EXE_LINKER_FLAGS for the two clean builds,
#                                       to try a fix for the reproducibility check
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
rounds=${LINEPLAYER_BENCH_ROUNDS:-11}
paste_rounds=${LINEPLAYER_BENCH_PASTE_ROUNDS:-3}
paste_seconds=${LINEPLAYER_BENCH_PASTE_SECONDS:-90}
linker_flags=${LINEPLAYER_BENCH_LINKER_FLAGS:-}
export PYTHONDONTWRITEBYTECODE=1

results=build/bench-results
logs=$results/logs
rm -rf "$results"
mkdir -p "$logs"
started=$SECONDS

say() { printf '\n== %s\n' "$*"; }
die() {
  echo "bench: $*" >&2
  exit 1
}

# Configuring a Windows build fetches Debian's libpng source package unless it is unpacked
# in the build tree already: unpack it once and hand every bench build a copy, so that
# clean builds need no network.
libpng_cache=build/bench-cache/libpng-src
seed_libpng() {
  if [ ! -d "$libpng_cache" ]; then
    local found
    found=$(ls -d build/*/_deps/libpng/src 2>/dev/null | grep -v '^build/bench-' | head -n 1)
    if [ -n "$found" ]; then
      mkdir -p "$(dirname "$libpng_cache")"
      cp -a "$found" "$libpng_cache.tmp" && mv "$libpng_cache.tmp" "$libpng_cache"
    fi
  fi
  if [ -d "$libpng_cache" ] && [ ! -d "$1/_deps/libpng/src" ]; then
    mkdir -p "$1/_deps/libpng"
    cp -a "$libpng_cache" "$1/_deps/libpng/src"
  fi
}

# build_program DIR LOG [CMAKE_ARGS...]: the program alone, as the windows preset builds it.
build_program() {
  local dir=$1 log=$2
  shift 2
  seed_libpng "$dir"
  { cmake --preset windows -B "$dir" -DBUILD_TESTING=OFF "$@" &&
    cmake --build "$dir" --target lineplayer; } >"$logs/$log.log" 2>&1 ||
    die "building $dir failed; see $logs/$log.log"
}

say "builds"
for side in a b; do
  rm -rf "build/bench-repro-$side"
  echo "clean build build/bench-repro-$side${linker_flags:+ (linker flags: $linker_flags)}"
  build_program "build/bench-repro-$side" "repro-$side" ${linker_flags:+"-DCMAKE_EXE_LINKER_FLAGS=$linker_flags"}
done
echo "build/bench-loopback (prefixes leading to the loopback logger)"
build_program build/bench-loopback loopback "-DLINEPLAYER_PREFIXES=$root/tests/exe/loopback_prefixes.txt"
echo "build/bench-win (bare_window.exe) and build/bench-host (decode_pictures)"
{ cmake -S bench -B build/bench-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-i686.cmake" && cmake --build build/bench-win; } \
  >"$logs/bench-win.log" 2>&1 || die "building build/bench-win failed; see $logs/bench-win.log"
{ cmake -S bench -B build/bench-host -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build/bench-host; } \
  >"$logs/bench-host.log" 2>&1 || die "building build/bench-host failed; see $logs/bench-host.log"
exe=build/bench-repro-a/bin/lineplayer.exe
echo "built in $((SECONDS - started)) s"

say "the exe: $exe"
echo "size: $(stat -c %s "$exe") bytes"
i686-w64-mingw32-objdump -p "$exe" | grep 'DLL Name' | tee "$results/dlls.txt"

say "reproducible build: build/bench-repro-a and build/bench-repro-b"
sha256sum build/bench-repro-a/bin/lineplayer.exe build/bench-repro-b/bin/lineplayer.exe
python3 bench/pe_diff.py build/bench-repro-a/bin/lineplayer.exe build/bench-repro-b/bin/lineplayer.exe

say "27 pictures decoded on the host (Google Benchmark, 10 repetitions)"
build/bench-host/bin/decode_pictures --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/host.json" --benchmark_out_format=json 2>&1 | grep -E '^decodeAllPictures' ||
  echo "decode_pictures failed"

say "under Wine and Xvfb (the private display of tools/test-session.sh)"
# The loopback logger must own port 47811, which the exe-level tests use too: in a network
# namespace of our own, with only a loopback interface, it does whatever else runs.
isolated() {
  if unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
    unshare -n sh -c 'ip link set lo up && exec "$@"' sh "$@"
  elif unshare -rn sh -c 'ip link set lo up' 2>/dev/null; then
    unshare -rn sh -c 'ip link set lo up && exec "$@"' sh "$@"
  else
    echo "(no network namespace: sharing port 47811 with whatever else runs)"
    "$@"
  fi
}
WINEPREFIX=$root/build/bench-win/wineprefix isolated timeout 900 tools/test-session.sh \
  python3 bench/wine_bench.py --program "$exe" --bare build/bench-win/bin/bare_window.exe \
  --loopback build/bench-loopback/bin/lineplayer.exe --rounds "$rounds" --paste-rounds "$paste_rounds" \
  --paste-seconds "$paste_seconds" --json "$results/wine.json" || echo "(the Wine figures stopped early)"

say "figures ($((SECONDS - started)) s in all)"
python3 bench/report.py --exe "$exe" --dlls "$results/dlls.txt" \
  --repro build/bench-repro-a/bin/lineplayer.exe build/bench-repro-b/bin/lineplayer.exe \
  --host-json "$results/host.json" --wine-json "$results/wine.json"
