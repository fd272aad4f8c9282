#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's archive only.
# Safe to run again: apt skips what is already there.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

packages=(
  # toolchains and build
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format dpkg-dev file
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686 libz-mingw-w64-dev
  # host libraries and tests
  libpng-dev zlib1g-dev googletest libbenchmark-dev
  # running and driving the exe
  wine wine32:i386 wine64 xvfb xdotool x11-apps x11-utils imagemagick
  fonts-wqy-zenhei fonts-wine python3 xclip iproute2 util-linux
)

have_all() {
  dpkg --print-foreign-architectures | grep -qx i386 || return 1
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ || return 1
  local status
  status=$(dpkg-query -W -f='${db:Status-Status}\n' "${packages[@]}" 2>/dev/null) || return 1
  ! grep -qv '^installed$' <<<"$status"
}
if have_all; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=DEBIAN_FRONTEND "$0" "$@"
fi

# 32-bit Wine needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# libpng for the Windows build comes from Debian's source package.
src_list=/etc/apt/sources.list.d/lineplayer-deb-src.sources
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat >"$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi

apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
