#!/usr/bin/env bash
# Runs a Windows program under Wine in a private copy of the template prefix and on a
# private Xvfb display, so tests never share registry, clipboard or screen.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
template="${KORVAN_WINE_TEMPLATE:-$here/../build/wine-template}"
"$here/wine-template.sh" "$template" || exit 90

source "$here/xvfb.sh"
work="$(mktemp -d /tmp/korvan-wine.XXXXXX)"
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  stop_private_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

cp -a "$template" "$work/prefix"
if [ -z "${KORVAN_USE_DISPLAY:-}" ]; then
  start_private_xvfb "${KORVAN_SCREEN:-1280x1024x24}" || exit 91
fi
export WINEPREFIX="$work/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p >/dev/null 2>&1
wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
status=$?
exit $status
