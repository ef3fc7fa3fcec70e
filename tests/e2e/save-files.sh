#!/usr/bin/env bash
# Linux-side companions of the save dialog's end-to-end tests.
#   save-files.sh arrange-read-only DIR   a folder no one can write into, root included
#   save-files.sh remove-read-only DIR    undoes it
#   save-files.sh arrange-small-disk DIR  a file system of 64 KiB mounted there
#   save-files.sh remove-small-disk DIR   unmounts it
#   save-files.sh decode DIR              reads DIR/shot.jpg and DIR/shot.png with decoders of
#                                         their own and compares them with DIR/captured.bmp
set -uo pipefail
mode="$1" dir="$2"
fail() { echo "FAILED: $*"; exit 1; }

case "$mode" in
  arrange-read-only)
    rm -rf "$dir" && mkdir -p "$dir" || fail "cannot create $dir"
    # Immutable: even root cannot create files in it.
    chattr +i "$dir" 2>/dev/null || { echo "cannot make $dir read-only here"; rmdir "$dir"; exit 0; }
    ;;
  remove-read-only)
    [ -d "$dir" ] && chattr -i "$dir" 2>/dev/null
    rm -rf "$dir"
    ;;
  arrange-small-disk)
    mkdir -p "$dir" || fail "cannot create $dir"
    mountpoint -q "$dir" && umount "$dir"
    mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null || { echo "cannot mount a small disk here"; rmdir "$dir"; }
    ;;
  remove-small-disk)
    mountpoint -q "$dir" && umount "$dir"
    rmdir "$dir" 2>/dev/null
    ;;
  decode)
    cd "$dir" || fail "no folder $dir"
    for f in captured.bmp shot.jpg shot.png; do [ -s "$f" ] || fail "$f is missing"; done
    size="$(identify -format '%w %h' captured.bmp)"
    # JPEG: quality 50 as chosen, 4:4:4 sampling, decoded by djpeg and by ImageMagick alike.
    jpeg="$(identify -format '%m %w %h %Q %[jpeg:sampling-factor]' shot.jpg)"
    [ "$jpeg" = "JPEG $size 50 1x1,1x1,1x1" ] || fail "shot.jpg reads as '$jpeg'"
    djpeg -pnm shot.jpg >jpeg.ppm || fail "djpeg cannot decode shot.jpg"
    [ "$(compare -metric AE jpeg.ppm shot.jpg null: 2>&1)" = "0" ] || fail "djpeg and ImageMagick disagree"
    psnr="$(compare -metric PSNR captured.bmp jpeg.ppm null: 2>&1)"
    awk -v p="$psnr" 'BEGIN { exit !(p >= 20) }' || fail "shot.jpg is too far from the capture (PSNR $psnr)"
    echo "shot.jpg: $jpeg, PSNR $psnr dB"
    # PNG: an 8-bit palette image, decoded by pngcheck, pngtopnm and ImageMagick alike.
    pngcheck shot.png | grep -q 'OK: .*8-bit palette' || fail "pngcheck: $(pngcheck shot.png)"
    png="$(identify -format '%m %w %h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]' shot.png)"
    [ "$png" = "PNG $size 8 3" ] || fail "shot.png reads as '$png'"
    pngtopnm shot.png >png.ppm || fail "pngtopnm cannot decode shot.png"
    [ "$(compare -metric AE png.ppm shot.png null: 2>&1)" = "0" ] || fail "pngtopnm and ImageMagick disagree"
    colours="$(identify -format '%k' png.ppm)"
    [ "$colours" -le 256 ] || fail "shot.png has $colours colours"
    psnr="$(compare -metric PSNR captured.bmp png.ppm null: 2>&1)"
    awk -v p="$psnr" 'BEGIN { exit !(p >= 20) }' || fail "shot.png is too far from the capture (PSNR $psnr)"
    echo "shot.png: $png, $colours colours, PSNR $psnr dB"
    rm -f jpeg.ppm png.ppm
    ;;
  *) fail "unknown mode $mode" ;;
esac
exit 0
