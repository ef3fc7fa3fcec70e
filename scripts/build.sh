#!/usr/bin/env bash
# Configures and builds one flavour into build/<flavour>: native | win | asan, or the
# benchmarks' own bench-native | bench-win (so they never touch the test builds).
# Optional further arguments name the targets to build (default: all).
# Fails, with the compiler's messages shown, when anything does not compile or link.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
flavour="${1:-native}"
shift || true
dir="$root/build/$flavour"
mingw=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake")
case "$flavour" in
  native)       args=() ;;
  asan)         args=(-DKORVAN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  win)          args=("${mingw[@]}" -DCMAKE_BUILD_TYPE=Release) ;;
  bench-native) args=(-DKORVAN_BENCH=ON -DCMAKE_BUILD_TYPE=Release) ;;
  bench-win)    args=("${mingw[@]}" -DKORVAN_BENCH=ON -DCMAKE_BUILD_TYPE=Release) ;;
  *) echo "unknown flavour $flavour" >&2; exit 2 ;;
esac
targets=()
if (($#)); then targets=(--target "$@"); fi
# Rebuilds in other clones of the tree reuse compiled objects when ccache is there.
if command -v ccache >/dev/null; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
fi
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
status=0
cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" >"$dir/build.log" 2>&1 || status=$?
grep -v -E '^\[[0-9]+/[0-9]+\] (Building|Linking|Generating)' "$dir/build.log" || true
if [ "$status" -ne 0 ]; then
  echo "build of $flavour failed (status $status)" >&2
fi
exit "$status"
