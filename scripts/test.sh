#!/usr/bin/env bash
# The test command: installs what is missing, builds both builds, makes the
# release (scripts/release.sh) and runs every tier, the end-to-end tier on the
# program from the release's zip. Ends with one line "N passed, M failed";
# exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh

jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
log_dir="$root/build/test-logs"

fail_setup() {
  echo "test: $1" >&2
  echo "0 passed, 1 failed"
  exit 1
}

trap 'session_stop' EXIT
trap 'exit 130' INT TERM

scripts/install-deps.sh || fail_setup "installing the dependencies failed"

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || fail_setup "host configure failed"
cmake --build build/host -j"$jobs" || fail_setup "host build failed"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || fail_setup "win32 configure failed"
cmake --build build/win32 -j"$jobs" || fail_setup "win32 build failed"
session_pick_windows_build
if [ "$FADER_WIN_BUILD" = win32 ]; then
  echo "test: the Windows tiers run build/win32 under 32-bit Wine"
else
  echo "test: this machine cannot execute 32-bit x86 code; the Windows tiers run the x86-64 build (build/win64) under 64-bit Wine"
  cmake -S . -B "build/$FADER_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null || fail_setup "$FADER_WIN_BUILD configure failed"
  cmake --build "build/$FADER_WIN_BUILD" -j"$jobs" || fail_setup "$FADER_WIN_BUILD build failed"
fi
win="$root/build/$FADER_WIN_BUILD"
mkdir -p "$log_dir"

# The end-to-end tier runs what users download: the stripped program from the
# release's zip, unpacked. Where 32-bit code cannot run, the x86-64 build is
# packed the same way and its program runs instead.
echo "== the release (scripts/release.sh)"
scripts/release.sh 2>&1 | tee "$log_dir/release.log"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail_setup "the release failed"
version=$(cat "$win/version.txt")
if [ "$FADER_WIN_BUILD" = win32 ]; then
  shipped_zip="dist/mirtane-$version-win32.zip"
else
  python3 scripts/lib/package.py --build "$win" --arch "$FADER_WIN_BUILD" --out "$win/dist" \
    || fail_setup "packing the $FADER_WIN_BUILD build failed"
  shipped_zip="build/$FADER_WIN_BUILD/dist/mirtane-$version-$FADER_WIN_BUILD.zip"
fi
rm -rf "$win/shipped"
python3 -m zipfile -e "$shipped_zip" "$win/shipped" || fail_setup "unpacking $shipped_zip failed"
shipped_program="build/$FADER_WIN_BUILD/shipped/mírtáné.exe"

# Adds a tier's counts from its own "<tier>: N passed, M failed" line.
count_summary() {
  local out="$1" prefix="$2" good bad
  good=$(grep -Eo "^$prefix: [0-9]+ passed" "$out" | grep -Eo '[0-9]+' | tail -1)
  bad=$(grep -Eo "^$prefix: [0-9]+ passed, [0-9]+ failed" "$out" | grep -Eo '[0-9]+ failed' | grep -Eo '[0-9]+' | tail -1)
  if [ -z "$good" ] || [ -z "$bad" ]; then
    echo "test: $prefix ran no test" >&2
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + good))
  failed=$((failed + bad))
}

# Adds a tier's counts from CTest's "... tests failed out of N" line.
count_ctest() {
  local out="$1" total bad
  total=$(grep -Eo 'tests failed out of [0-9]+' "$out" | grep -Eo '[0-9]+$' | tail -1)
  bad=$(grep -Eo '[0-9]+ tests failed out of' "$out" | grep -Eo '^[0-9]+' | tail -1)
  if [ -z "$total" ]; then
    echo "test: $2 ran no test" >&2
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

echo "== tier 1: host unit tests (ASan, UBSan)"
ctest --test-dir build/host -j"$jobs" --output-on-failure 2>&1 | tee "$log_dir/tier1.log"
count_ctest "$log_dir/tier1.log" "tier 1"

session_start_display || fail_setup "no Xvfb display"
session_start_wine "$win/wine"

echo "== tier 2: Win32 tests under Wine"
ctest --test-dir "$win" -j"$jobs" --output-on-failure 2>&1 | tee "$log_dir/tier2.log"
count_ctest "$log_dir/tier2.log" "tier 2"

echo "== tier 3: end to end under Wine and Xvfb, the program from $shipped_zip"
python3 tests/e2e/run.py --build "$win" --program "$root/$shipped_program" --out "$root/build/e2e" 2>&1 \
  | tee "$log_dir/tier3.log"
count_summary "$log_dir/tier3.log" e2e

echo "== tier 4: the release, read back and made again in another place"
python3 tests/release/run.py --root "$root" --dist "$root/dist" 2>&1 | tee "$log_dir/tier4.log"
count_summary "$log_dir/tier4.log" release

echo "== the fault matrix: every Windows function the session calls, made to fail"
session_fault_matrix "$win" 2>&1 | tee "$log_dir/faults.log"
count_summary "$log_dir/faults.log" faults

echo "test: tier 2 ran the tests of build/$FADER_WIN_BUILD under $WINELOADER"
echo "test: tier 3 ran $shipped_program (stripped), unpacked from $shipped_zip, under $WINELOADER"
echo "test: the fault matrix ran build/$FADER_WIN_BUILD/bin/mirtane-faults.exe, the test build"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
