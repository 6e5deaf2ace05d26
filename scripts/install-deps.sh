#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the end-to-end checks need.
# Safe to run more than once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
  libqt6opengl6-dev qt6-qpa-plugins
  libsndfile1-dev libedf-dev libpulse-dev
  python3-mne
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils
  pulseaudio pulseaudio-utils
  fonts-dejavu-core fonts-liberation
  clang libclang-rt-14-dev
  help2man desktop-file-utils shared-mime-info man-db file
  lintian appstream dpkg-dev
  weston qt6-wayland
  clang-format
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Only what is not installed yet: a machine that has everything asks the network nothing.
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -eq 0 ]; then exit 0; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
