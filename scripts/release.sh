#!/usr/bin/env bash
# The release command: installs what is missing, builds the 32-bit program in
# Release and writes the release into dist/ (scripts/lib/package.py):
#   mirtane-<version>-win32.zip        mírtáné.exe (stripped) and README.txt
#   mírtáné-<version>-win32.debug      the program's debug information
#   mirtane-<version>-win32.buildinfo  the toolchain, the commit, the time
#   SHA256SUMS                         the zip's SHA-256, for sha256sum -c
# Ends with the zip's path, size and SHA-256. The same sources give the same
# zip in any clone at any path at any time, on any host: its time is the last
# commit's (or SOURCE_DATE_EPOCH, when set), and the program is always built
# by Debian 12's MinGW-w64 (RELEASE_CODENAME). On another Debian it is built
# in a Debian 12 root under build/ (the one the test command makes as its
# other platform), or in FADER_RELEASE_ROOT when that names one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/platform.sh

jobs=$(nproc 2>/dev/null || echo 2)

# Inside the release's root (below) the build and the packing run alone.
if [ "${1:-}" = --here ]; then
  scripts/install-deps.sh build
  build=$2
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target mirtane -j"$jobs"
  exec python3 scripts/lib/package.py --build "$build" --arch win32 --out dist
fi

if git rev-parse --git-dir >/dev/null 2>&1 && [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the work tree has changes not committed; this zip is not the last commit's" >&2
fi
# The time and the commit are read here, where the clone is: the root has no git.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}"
export FADER_SOURCE_COMMIT="${FADER_SOURCE_COMMIT:-$(git rev-parse HEAD 2>/dev/null || true)}"
[ -n "$SOURCE_DATE_EPOCH" ] || { echo "release: not a git checkout: set SOURCE_DATE_EPOCH" >&2; exit 1; }

if [ "$(platform_codename)" = "$RELEASE_CODENAME" ]; then
  # build/win32 is the test command's build too: the program is built once.
  exec scripts/release.sh --here build/win32
fi
release_root="${FADER_RELEASE_ROOT:-$root/build/debian-$RELEASE_CODENAME}"
echo "release: this is Debian's $(platform_codename); the program is built by Debian's $RELEASE_CODENAME toolchain in $release_root"
scripts/install-deps.sh platforms
platform_make_root "$release_root" "$RELEASE_CODENAME" "$root" build
platform_in_root "$release_root" "$root" \
  "SOURCE_DATE_EPOCH='$SOURCE_DATE_EPOCH' FADER_SOURCE_COMMIT='$FADER_SOURCE_COMMIT' scripts/release.sh --here build/release-$RELEASE_CODENAME"
