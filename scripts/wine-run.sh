#!/usr/bin/env bash
# Runs a Windows program under Wine in a private copy of the template prefix and on a
# private Xvfb display, so tests never share registry, clipboard or screen.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
template="${KORVAN_WINE_TEMPLATE:-$here/../build/wine-template}"
"$here/wine-template.sh" "$template" || exit 90

work="$(mktemp -d /tmp/korvan-wine.XXXXXX)"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

cp -a "$template" "$work/prefix"
if [ -z "${KORVAN_USE_DISPLAY:-}" ]; then
  Xvfb -displayfd 3 -screen 0 "${KORVAN_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$work/display")"
fi
export WINEPREFIX="$work/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p >/dev/null 2>&1
wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
status=$?
exit $status
