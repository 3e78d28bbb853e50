# The other Debian release as a second platform for the Windows tiers: on
# Debian 12 it is Debian 13 (Wine 10), on Debian 13 it is Debian 12 (Wine 8).
# Its root is made with debootstrap under build/ and kept between runs; the
# project's own install script runs inside it. The root is entered in a mount
# namespace of its own, so nothing stays mounted once the command ends, and
# the project is mounted at the same path, so the host's builds run there
# unchanged. Needs root (or sudo) and Debian's package mirror.

# The release the program users get is built on: its MinGW-w64 has made every
# release, and a newer one imports what Windows XP lacks (scripts/release.sh).
RELEASE_CODENAME=bookworm

platform_codename() { (. "${1:-}/etc/os-release" && echo "${VERSION_CODENAME:-}"); }

# "Debian 12 (bookworm), Wine 8.0" for the system at the root given (/ by default).
platform_label() {
  local r="${1:-}" version wine
  version=$(. "$r/etc/os-release" && echo "${VERSION_ID:-?}")
  wine=$(platform_wine_version "$r")
  echo "Debian $version ($(platform_codename "$r")), Wine ${wine:-not installed}"
}

platform_wine_version() {
  dpkg-query --admindir="${1:-}/var/lib/dpkg" -W -f='${Version}' wine 2>/dev/null | sed 's/~.*//; s/-.*//'
}

platform_other_codename() {
  case "$(platform_codename)" in
    bookworm) echo trixie ;;
    trixie) echo bookworm ;;
    *) return 1 ;;
  esac
}

_platform_sudo() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# Runs a command (a bash script line) inside the root at $1, in the project
# folder $2 mounted at its own path; the root starts its own Xvfb.
platform_in_root() {
  local r="$1" project="$2"
  shift 2
  _platform_sudo unshare --mount --propagation private -- bash -euc '
    r=$1 project=$2
    shift 2
    mount -t proc proc "$r/proc"
    mount --rbind /sys "$r/sys"
    mount --rbind /dev "$r/dev"
    # The host'"'"'s /tmp: X servers of the root and of the host share one
    # network namespace (abstract sockets), so they must see each other'"'"'s
    # display locks to pick different display numbers.
    mount --bind /tmp "$r/tmp"
    mkdir -p "$r$project"
    mount --bind "$project" "$r$project"
    cp -L /etc/resolv.conf "$r/etc/resolv.conf" 2>/dev/null || true
    exec chroot "$r" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
      PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin CI="${CI:-}" \
      bash -c "cd \"\$0\" && $*" "$project"
  ' platform "$r" "$project" "$@"
}

# Makes the root at $1 for the release $2 when it is missing or stale, and
# brings its packages up to what the install script names ($3: the project;
# the install script's groups follow, by default what the Windows tiers need).
# A root is stale when it was never finished or was made for another release.
platform_make_root() {
  local r="$1" codename="$2" project="$3" groups="${*:4}"
  if [ -f "$r/.made" ] && [ "$(cat "$r/.made")" != "$codename" ]; then
    echo "platform: $r was made for $(cat "$r/.made"); making it again"
    _platform_remove_root "$r" || return 1
  fi
  if [ ! -f "$r/.made" ]; then
    _platform_remove_root "$r" || return 1
    command -v debootstrap >/dev/null || { echo "platform: debootstrap is not installed" >&2; return 1; }
    echo "platform: making a $codename root in $r (debootstrap)"
    mkdir -p "$(dirname "$r")"
    # A download can fail while the mirror syncs: a failed root is made once more.
    if ! _platform_debootstrap "$r" "$codename"; then
      echo "platform: debootstrap failed; making the root once more"
      _platform_remove_root "$r" && _platform_debootstrap "$r" "$codename" \
        || { echo "platform: debootstrap failed (see $r.debootstrap.log)" >&2; return 1; }
    fi
    echo "$codename" | _platform_sudo tee "$r/.made" >/dev/null
  fi
  platform_in_root "$r" "$project" scripts/install-deps.sh "${groups:-wine wine-tests}"
}

_platform_debootstrap() {
  _platform_sudo debootstrap --variant=minbase --include=ca-certificates,python3 \
    "$2" "$1" http://deb.debian.org/debian >"$1.debootstrap.log" 2>&1
}

# Removes a root, unless something is still mounted inside it.
_platform_remove_root() {
  local r="$1"
  [ -e "$r" ] || return 0
  if findmnt -rn -o TARGET | grep -q "^$(realpath "$r")/"; then
    echo "platform: something is still mounted in $r; not removing it" >&2
    return 1
  fi
  _platform_sudo rm -rf --one-file-system "$r"
}
