#!/usr/bin/env bash
# Builds libpng as a static MinGW library from Debian's libpng1.6 source package.
# Usage: build-libpng-mingw.sh ROOT C_COMPILER ZLIB_LIBRARY ZLIB_INCLUDE_DIR CONFIG_DFA
# CONFIG_DFA holds libpng's build options (tools/libpng-read-only.dfa).
# Leaves ROOT/src (the unpacked source), ROOT/build and ROOT/install.
set -euo pipefail
root=$1 cc=$2 zlib_library=$3 zlib_include=$4 config=$5

mkdir -p "$root"
cd "$root"
if [ ! -d src ]; then
  rm -rf fetch && mkdir fetch
  (cd fetch && apt-get source --download-only libpng1.6 >/dev/null)
  dsc=$(ls fetch/*.dsc | head -n 1)
  dpkg-source --no-check -x "$dsc" src.tmp >/dev/null
  mv src.tmp src
  rm -rf fetch ./*.orig.tar.* ./*.debian.tar.* ./*.dsc
fi

rm -rf build install
cmake -S src -B build -G Ninja \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=i686 \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="-ffile-prefix-map=$root=libpng -ffunction-sections -fdata-sections" \
  -DCMAKE_INSTALL_PREFIX="$root/install" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DDFA_XTRA="$config" \
  -DZLIB_LIBRARY="$zlib_library" -DZLIB_INCLUDE_DIR="$zlib_include" \
  -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >/dev/null
cmake --build build >/dev/null
cmake --install build >/dev/null
