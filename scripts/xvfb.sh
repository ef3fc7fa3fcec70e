# Sourced by the scripts that need a private X display (bash only).
#   start_private_xvfb [SCREEN]   starts Xvfb on a free display (SCREEN like 1280x1024x24),
#                                 waits until it accepts clients, exports DISPLAY and sets
#                                 XVFB_PID; answers 1 when no display came up
#   stop_private_xvfb             ends that Xvfb again (safe to call twice)
XVFB_PID=""

start_private_xvfb() {
  local screen="${1:-1280x1024x24}" ready
  ready="$(mktemp /tmp/korvan-xvfb.XXXXXX)"
  # Xvfb writes its display number to descriptor 3 once it accepts connections.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do
    [ -s "$ready" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$ready" ]; then
    rm -f "$ready"
    stop_private_xvfb
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$ready")"
  rm -f "$ready"
}

stop_private_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  XVFB_PID=""
}
