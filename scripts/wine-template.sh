#!/usr/bin/env bash
# Boots the template Wine prefix once (about 10 s); later calls return at once.
set -euo pipefail
template="$1"
[ -f "$template/.ready" ] && exit 0
mkdir -p "$(dirname "$template")"
exec 9>"$template.lock"
flock 9
[ -f "$template/.ready" ] && exit 0
rm -rf "$template"
export WINEPREFIX="$template" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
wineboot -i >/dev/null 2>&1
# Unmanaged windows: without a window manager, hiding a managed window stalls Wine.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
touch "$template/.ready"
