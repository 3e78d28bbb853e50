#!/usr/bin/env bash
# The release command: installs what is missing, builds the 32-bit program in
# Release and writes the release into dist/ (scripts/lib/package.py):
#   mirtane-<version>-win32.zip     mírtáné.exe (stripped) and README.txt
#   mírtáné-<version>-win32.debug   the program's debug information
#   SHA256SUMS                      the zip's SHA-256, for sha256sum -c
# Ends with the zip's path, size and SHA-256. The same sources give the same
# zip in any clone at any path at any time: its time is the last commit's
# (or SOURCE_DATE_EPOCH, when set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

jobs=$(nproc 2>/dev/null || echo 2)
build=build/win32

scripts/install-deps.sh
if git rev-parse --git-dir >/dev/null 2>&1 && [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the work tree has changes not committed; this zip is not the last commit's" >&2
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target mirtane -j"$jobs"
python3 scripts/lib/package.py --build "$build" --arch win32 --out dist
