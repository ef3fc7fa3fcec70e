#!/usr/bin/env bash
# Builds and runs the screen-capture benchmark under Wine on a private Xvfb display.
# It has its own build directory (build/bench-win), so the test builds stay as they are.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" bench-win capture_bench
KORVAN_SCREEN="${KORVAN_SCREEN:-1920x1080x24}" "$root/scripts/wine-run.sh" "$root/build/bench-win/bench/capture_bench.exe" "$@"
