#!/usr/bin/env bash
# Brings what the project needs onto a Debian machine (Debian 12 or 13).
# Idempotent: checks each package first and installs only what is missing.
#   scripts/install-deps.sh [GROUP ...]     default: every group
# Groups:
#   build        the host and Windows compilers and CMake
#   wine         Wine on a private X display, as the program runs here
#   wine-tests   what the Windows test tiers drive it with: clipboard, a
#                window manager and a tray host, CTest, and objdump for the
#                program's import table
#   host-tests   the host tier's libraries
#   platforms    debootstrap, which makes the other Debian release's root
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

group_packages() {
  case "$1" in
    build) echo cmake g++ make g++-mingw-w64-i686 binutils-mingw-w64-i686 \
      g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 ;;
    # Wine lays dialogs out from the fonts it finds; these are only
    # recommended by Wine, so name them, or a fresh machine sees other layouts.
    wine) echo wine wine32:i386 wine64 fonts-liberation fonts-wine \
      xvfb xdotool imagemagick x11-utils x11-xserver-utils python3 procps ;;
    wine-tests) echo cmake xclip openbox trayer binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 ;;
    host-tests) echo googletest libgtest-dev libbenchmark-dev libgif-dev ;;
    platforms) echo debootstrap ;;
    *) echo "install-deps: no group $1" >&2; return 1 ;;
  esac
}

groups=("$@")
[ "${#groups[@]}" -gt 0 ] || groups=(build wine wine-tests host-tests platforms)
packages=()
for g in "${groups[@]}"; do
  read -r -a more <<<"$(group_packages "$g")"
  packages+=("${more[@]}")
done

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
