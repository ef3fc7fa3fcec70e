#!/usr/bin/env bash
# Builds KorvanScreenshot.exe and starts it under Wine: on $DISPLAY when there is one,
# otherwise on a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win
exe="$root/build/win/KorvanScreenshot.exe"
prefix="${WINEPREFIX:-$root/build/wine-user}"
"$root/scripts/wine-template.sh" "$root/build/wine-template"
[ -d "$prefix" ] || cp -a "$root/build/wine-template" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  source "$root/scripts/xvfb.sh"
  trap stop_private_xvfb EXIT
  start_private_xvfb 1280x1024x24
  echo "No display found: running on a private Xvfb display $DISPLAY"
fi
wine "$exe" 2> >(grep -v -e 'wine32' -e 'multiarch' -e 'dpkg --add' -e 'apt-get install' >&2)
