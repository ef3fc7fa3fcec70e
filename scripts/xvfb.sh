# Sourced by the scripts that need a private X display (bash only).
#   start_private_xvfb [SCREEN]   starts Xvfb on a free display (SCREEN like 1280x1024x24),
#                                 waits until it accepts clients, exports DISPLAY and sets
#                                 XVFB_PID; answers 1 when no display came up
#   stop_private_xvfb             ends that Xvfb again (safe to call twice)
#   start_x_server NAME PID_VAR COMMAND...
#                                 starts an X server that takes -displayfd 3, waits until
#                                 it accepts clients and exports DISPLAY; its process id
#                                 goes into the variable PID_VAR; answers 1 when it did not
#                                 come up (the caller ends it)
XVFB_PID=""

start_x_server() {
  local name="$1" pid_var="$2" ready pid
  shift 2
  ready="$(mktemp /tmp/korvan-xserver.XXXXXX)"
  # The server writes its display number to descriptor 3 once it accepts connections.
  "$@" -displayfd 3 3>"$ready" >/dev/null 2>&1 &
  pid=$!
  printf -v "$pid_var" '%s' "$pid"
  for _ in $(seq 200); do
    [ -s "$ready" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$ready" ]; then
    rm -f "$ready"
    echo "$name did not start" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$ready")"
  rm -f "$ready"
}

start_private_xvfb() {
  start_x_server Xvfb XVFB_PID Xvfb -screen 0 "${1:-1280x1024x24}" -nolisten tcp || { stop_private_xvfb; return 1; }
}

stop_private_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  XVFB_PID=""
}
