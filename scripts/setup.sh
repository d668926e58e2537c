#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run the
# package and its stand-ins, and the packages named as arguments (what one
# script alone needs). Installs only the packages that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  dpkg-dev file  # cpack: what the Debian packages depend on (dpkg-shlibdeps)
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev libegl-dev
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-tools
  libturbojpeg0-dev
  libsane-dev libsane1 sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-ocr-b fonts-paratype fonts-liberation2
  libtesseract-dev tesseract-ocr-rus tesseract-ocr-eng
  python3 python3-pil libvips-tools
  xvfb xauth
  clang libclang-rt-14-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
