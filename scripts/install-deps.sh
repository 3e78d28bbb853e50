#!/usr/bin/env bash
# Brings everything the build and the tests need onto a Debian machine.
# Idempotent: checks each package first and installs only what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake g++ make
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  # Wine lays dialogs out from the fonts it finds; these are only recommended
  # by Wine, so name them, or a fresh machine sees other layouts.
  fonts-liberation fonts-wine
  xvfb xdotool xclip imagemagick x11-utils x11-xserver-utils python3
  googletest libgtest-dev libbenchmark-dev
  libgif-dev
  procps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
