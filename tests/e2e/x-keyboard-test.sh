#!/usr/bin/env bash
# Hot keys pressed on the X keyboard, as a person at the machine would: with the program's
# window focused, Print Screen captures the desktop and the preview appears. Runs the real
# program in its own Wine prefix and Xvfb display.
# Usage: x-keyboard-test.sh KorvanScreenshot.exe
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/private-wine.sh"
start_private_prefix xkeys || exit 1
start_private_xvfb 1280x1024x24 || exit 1
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

wine "$exe" >"$work/out.log" 2>&1 &
wait_for 30 xdotool search --onlyvisible --name '^Korvan Screenshot 2\.3$' || fail "the main window did not appear"
main="$(xdotool search --onlyvisible --name '^Korvan Screenshot 2\.3$' | head -1)"
focused() { xdotool windowfocus "$1" && [ "$(xdotool getwindowfocus)" = "$1" ]; }
wait_for 10 focused "$main" || fail "cannot focus the main window"
xdotool search --onlyvisible --name '^Preview$' >/dev/null 2>&1 && fail "the preview shows before any capture"
xdotool key Print
wait_for 10 xdotool search --onlyvisible --name '^Preview$' || fail "Print Screen on the X keyboard captured nothing"
echo "Print Screen on the X keyboard showed the preview"
exit 0
