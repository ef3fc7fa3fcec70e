#!/usr/bin/env bash
# Configures and builds one flavour: native | win | asan.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
flavour="${1:-native}"
dir="$root/build/$flavour"
case "$flavour" in
  native) args=() ;;
  asan)   args=(-DKORVAN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  win)    args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  *) echo "unknown flavour $flavour" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
cmake --build "$dir" -- -j"$(nproc)" | grep -v -E '^\[[0-9]+/[0-9]+\] (Building|Linking|Generating)' || true
test "${PIPESTATUS[0]}" -eq 0
