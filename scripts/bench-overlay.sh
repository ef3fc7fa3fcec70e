#!/usr/bin/env bash
# Builds and runs the interactive-capture benchmark under Wine on a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -DKORVAN_BENCH=ON >/dev/null
"$root/scripts/build.sh" win
KORVAN_SCREEN="${KORVAN_SCREEN:-1920x1080x24}" "$root/scripts/wine-run.sh" "$root/build/win/bench/overlay_bench.exe"
