#!/usr/bin/env bash
# Makes the project's own 32-bit Wine prefix, once: quiet, Chinese text linked to a CJK
# font, and no window-manager stall for hidden or destroyed windows.
# usage: wine-prefix.sh PREFIX
set -euo pipefail
prefix=$1
ready=$prefix/.lineplayer-ready
[ -e "$ready" ] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -e "$ready" ] && exit 0

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
unset DISPLAY
rm -rf "$prefix"
wineboot -i >/dev/null 2>&1

# Without a window manager, windows that Wine manages stall for 2 s when hidden.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# Chinese text falls back to the CJK font from Debian's fonts-wqy-zenhei.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Tahoma" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "SimSun"; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "wqy-zenhei.ttc,WenQuanYi Zen Hei" /f >/dev/null 2>&1
done
wineserver -w
touch "$ready"
