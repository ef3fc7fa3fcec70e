#!/usr/bin/env bash
# Takes desktop screenshots under Xvfb for the writer benchmark: a gradient wallpaper,
# text windows (core-font and anti-aliased), a picture window; at 1920x1080 and 3840x2160.
# Also makes one photograph-like image. Usage: capture-screens.sh OUTDIR
set -euo pipefail
out="${1:?output directory}"
mkdir -p "$out"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
xvfb=""
clients=()
cleanup() {
  if ((${#clients[@]})); then kill "${clients[@]}" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
display_number=$((90 + RANDOM % 9))

text_source="$root/src/engine/JpegWriter.cpp"
for size in 1920x1080 3840x2160; do
  w=${size%x*}; h=${size#*x}
  convert -size "${h}x${w}" gradient:'#2b5876-#4e4376' -rotate 90 "$work/wall.png"
  # Text is set at the 1080p size and scaled for larger screens (caption refuses big pages).
  convert -size 768x810 -background white -fill '#202020' -font DejaVu-Sans -pointsize 13 \
    caption:"$(head -n 30 "$text_source" | tr -cd '[:alnum:] \n.,;:()=+*/-')" -resize $((w * 100 / 1920))% "$work/page.png"
  convert logo: -resize $((w / 3))x "$work/picture.png"
  Xvfb ":$display_number" -screen 0 "${w}x${h}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$display_number"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  # The wallpaper is a borderless full-screen picture below the other windows.
  display -geometry +0+0 "$work/wall.png" >/dev/null 2>&1 &
  clients=($!)
  sleep 1
  xmessage -geometry +$((w / 30))+$((h / 20)) -file "$root/src/engine/PngWriter.cpp" >/dev/null 2>&1 &
  clients+=($!)
  display -geometry +$((w / 2))+$((h / 10)) "$work/page.png" >/dev/null 2>&1 &
  clients+=($!)
  display -geometry +$((w / 5))+$((h / 2)) "$work/picture.png" >/dev/null 2>&1 &
  clients+=($!)
  sleep 2
  import -window root -depth 8 "$out/screen-$size.ppm"
  kill "${clients[@]}" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  clients=()
  xvfb=""
done
convert -size 1920x1080 -seed 7 plasma:fractal -blur 0x2 -depth 8 "$out/photo-1920x1080.ppm"
ls -l "$out"
