#!/usr/bin/env bash
# Builds and runs the writer benchmark (our PNG and JPEG writers against libpng and
# libjpeg-turbo) in its own build directory, build/bench-native.
# Usage: bench-writers.sh [IMAGES]  IMAGES is a folder of .ppm pictures; when it holds
# none, bench/capture-screens.sh takes them first (default folder build/bench-images).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
images="${1:-$root/build/bench-images}"
"$root/scripts/setup.sh"
if ! compgen -G "$images/*.ppm" >/dev/null; then "$root/bench/capture-screens.sh" "$images"; fi
"$root/scripts/build.sh" bench-native writer_bench
"$root/build/bench-native/bench/writer_bench" "$images"/*.ppm
