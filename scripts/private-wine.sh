# Sourced by the scripts that run Windows programs in a Wine prefix and on a display of
# their own, so that they never share registry, clipboard or screen (bash only).
#   start_private_prefix NAME   copies the template prefix (booted once per machine) into a
#                               fresh folder /tmp/korvan-NAME.XXXXXX, sets work to that
#                               folder, exports WINEPREFIX and ends the prefix's Wine, the
#                               private display (monitors.sh) and the folder at exit;
#                               answers 1 when no template could be made
#   wait_for SECONDS COMMAND... runs COMMAND every 0.1 s until it succeeds; 1 after SECONDS
#   fail TEXT                   says what failed and ends the script with status 1
source "$(dirname "${BASH_SOURCE[0]}")/monitors.sh"
korvan_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work=""

start_private_prefix() {
  local template="${KORVAN_WINE_TEMPLATE:-$korvan_root/build/wine-template}"
  "$korvan_root/scripts/wine-template.sh" "$template" || return 1
  work="$(mktemp -d "/tmp/korvan-$1.XXXXXX")"
  trap stop_private_prefix EXIT
  cp -a "$template" "$work/prefix"
  export WINEPREFIX="$work/prefix"
}

stop_private_prefix() {
  [ -n "$work" ] || return 0
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  stop_private_monitors
  rm -rf "$work"
  work=""
}

wait_for() {
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

fail() { echo "FAILED: $*"; exit 1; }
