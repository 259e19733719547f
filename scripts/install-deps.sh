#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quorvane need,
# and only those that are missing. Works as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libcurl4-openssl-dev nlohmann-json3-dev libinih-dev
  qt6-base-dev libgl-dev fonts-dejavu-core
  xvfb xdotool xclip x11-utils
  libgtest-dev libgmock-dev
  python3 python3-pyftpdlib
  clang libclang-rt-14-dev
  curl hyperfine ca-certificates tcpdump
  dpkg-dev file desktop-file-utils appstream lintian man-db imagemagick
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}" >&2
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
