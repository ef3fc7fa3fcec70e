#!/usr/bin/env bash
# Builds the setup program and the portable zip, named after the project's version, into
# dist/: KorvanScreenshot-<version>-setup.exe and KorvanScreenshot-<version>-portable.zip.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win packages
mkdir -p "$root/dist"
while read -r package; do
  cp "$package" "$root/dist/"
  echo "dist/$(basename "$package")"
done <"$root/build/win/installer/packages.txt"
