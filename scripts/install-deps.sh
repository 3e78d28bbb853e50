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

# Whether this machine executes 32-bit x86 code: some virtual machines lack
# it ("Exec format error"), and there the 32-bit Wine could never run. The
# probe is the smallest such program: an ELF header and exit(0).
runs_i386() {
  local probe rc
  probe=$(mktemp) || return 1
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0'\
'\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0'\
'\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  rc=$?
  rm -f "$probe"
  return $rc
}

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [[ " ${missing[*]} " == *:i386* ]] && ! runs_i386; then
  echo "install-deps: this machine cannot execute 32-bit x86 code: the 32-bit Wine is left out" >&2
  kept=()
  for p in "${missing[@]}"; do [[ "$p" == *:i386 ]] || kept+=("$p"); done
  missing=("${kept[@]}")
fi

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror in the middle of a sync serves index files of the wrong size for
# a while ("Mirror sync in progress?"), and a download may fail: the update
# is tried three times, the install goes ahead on the indexes it could read,
# and a failed install is tried once more after a fresh update.
update() {
  local attempt
  for attempt in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    [ "$attempt" -eq 3 ] || { echo "install-deps: apt-get update failed; trying again in 20 s" >&2; sleep 20; }
  done
  echo "install-deps: apt-get update failed 3 times; installing from the indexes it has" >&2
}
install() { $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
for attempt in 1 2; do
  update
  install "${missing[@]}" && exit 0
  [ "$attempt" -eq 2 ] || { echo "install-deps: apt-get install failed; trying again in 20 s" >&2; sleep 20; }
done
# Without an index of the i386 packages (the mirror's may stay broken) the
# 32-bit Wine cannot be installed; everything else can. The Windows tiers
# then run the 64-bit build under 64-bit Wine, as on a machine that cannot
# run 32-bit code.
native=()
for p in "${missing[@]}"; do [[ "$p" == *:i386 ]] || native+=("$p"); done
if [ "${#native[@]}" -lt "${#missing[@]}" ] && install "${native[@]}"; then
  echo "install-deps: the 32-bit Wine (wine32:i386) could not be installed; the Windows tiers run the 64-bit build under 64-bit Wine" >&2
  exit 0
fi
echo "install-deps: could not install ${missing[*]}" >&2
exit 1
