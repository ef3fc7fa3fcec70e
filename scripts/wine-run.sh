#!/usr/bin/env bash
# Runs a Windows program under Wine in a private copy of the template prefix and on a
# private Xvfb display, so tests never share registry, clipboard or screen.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
# KORVAN_MONITORS="1280x1024 1920x1200" gives the display one monitor per size, left to
# right, with the last one primary: the monitors left of it have negative coordinates.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/private-wine.sh"
start_private_prefix wine || exit 90
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${KORVAN_MONITORS:-}" ]; then
  read -r -a monitors <<<"$KORVAN_MONITORS"
  # The display's monitors count from 0; Wine shifts the desktop so the primary one
  # starts at 0,0. Written without a display, so no desktop process outlives the step.
  (unset DISPLAY; wine reg add 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /d "$((${#monitors[@]} - 1))" /f >/dev/null 2>&1)
  wineserver -w
  start_private_monitors "${monitors[@]}" || exit 91
elif [ -z "${KORVAN_USE_DISPLAY:-}" ]; then
  start_private_xvfb "${KORVAN_SCREEN:-1280x1024x24}" || exit 91
fi
wineserver -p >/dev/null 2>&1
wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
status=$?
exit $status
