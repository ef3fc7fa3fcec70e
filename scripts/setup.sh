#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet when all are there.
set -euo pipefail
packages=(cmake ninja-build g++ zlib1g-dev googletest libgtest-dev
          g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
          wine wine64 fonts-wine xvfb xserver-xephyr xdotool x11-utils imagemagick
          libpng-dev libjpeg62-turbo-dev libjpeg-turbo-progs pngcheck ghostscript netpbm
          python3-pil python3-numpy fonts-dejavu-core nsis)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
