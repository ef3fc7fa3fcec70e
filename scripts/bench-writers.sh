#!/usr/bin/env bash
# Builds and runs the writer benchmark (our PNG and JPEG writers against libpng and
# libjpeg-turbo) in its own build directory, build/bench-native.
# Usage: bench-writers.sh [--png] [--rounds N] [IMAGES]  IMAGES is a folder of .ppm pictures;
# when it holds none, or pictures older than the script that draws them,
# bench/capture-screens.sh draws them first (default folder build/bench-images). --png
# measures the PNG writer alone; --rounds sets how many timed rounds each picture gets.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
options=()
while (($#)) && [[ "$1" == -* ]]; do
  options+=("$1"); shift
  if [[ "${options[-1]}" == --rounds ]]; then options+=("${1:?rounds}"); shift; fi
done
images="${1:-$root/build/bench-images}"
"$root/scripts/setup.sh"
drawer="$root/bench/capture-screens.sh"
if ! compgen -G "$images/*.ppm" >/dev/null || [ -n "$(find "$images" -name '*.ppm' ! -newer "$drawer" -print -quit)" ]; then
  "$drawer" "$images"
fi
"$root/scripts/build.sh" bench-native writer_bench
"$root/build/bench-native/bench/writer_bench" "${options[@]}" "$images"/*.ppm
