#!/usr/bin/env bash
# Installs the Debian packages needed to build, run, test and package Quorvane. Safe to run again.
# No fonts: the program ships its own, and the tests see only those.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libgl-dev
  libsqlcipher-dev sqlcipher libsodium-dev libcurl4-openssl-dev libpq-dev postgresql
  xvfb xauth poppler-utils
  desktop-file-utils appstream dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
