# Sourced by the scripts that need a private display with several monitors (bash only).
# Xvfb shows one monitor to Wine whatever its screens, so a nested Xephyr without RandR
# and with Xinerama stands in: one X screen per monitor, laid out left to right.
#   start_private_monitors SIZE...  starts Xvfb and, inside it, Xephyr with one screen per
#                                   SIZE (like 1280x1024), exports DISPLAY (the Xephyr
#                                   display) and sets MONITORS_PID; answers 1 on failure
#   stop_private_monitors           ends both again (safe to call twice)
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
MONITORS_PID=""

start_private_monitors() {
  local width=0 height=0 size screens=()
  for size in "$@"; do
    width=$((width + ${size%x*}))
    ((${size#*x} > height)) && height=${size#*x}
    screens+=(-screen "$size")
  done
  start_private_xvfb "${width}x${height}x24" || return 1
  start_x_server Xephyr MONITORS_PID Xephyr -extension RANDR +xinerama "${screens[@]}" -nolisten tcp ||
    { stop_private_monitors; return 1; }
}

stop_private_monitors() {
  if [ -n "$MONITORS_PID" ]; then
    kill "$MONITORS_PID" 2>/dev/null || true
    wait "$MONITORS_PID" 2>/dev/null || true
  fi
  MONITORS_PID=""
  stop_private_xvfb
}
