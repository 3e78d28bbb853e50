#!/usr/bin/env bash
# The test command: installs what is missing, builds both builds, makes the
# release (scripts/release.sh) and runs every tier. The Windows tiers
# (scripts/lib/windows-tiers.sh) run twice: under this machine's Wine and
# under the other Debian release's, in a root made with debootstrap under
# build/ (scripts/lib/platform.sh), on the same programs built here. Ends with
# one line "N passed, M failed"; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh
. scripts/lib/platform.sh
. scripts/lib/tally.sh

jobs=$(nproc 2>/dev/null || echo 2)
log_dir="$root/build/test-logs"
started=$SECONDS

fail_setup() {
  echo "test: $1" >&2
  echo "$passed passed, $((failed + 1)) failed"
  exit 1
}

# How long each part took, for the closing lines. timed_log NAME LOG CMD...
# runs the command with its output shown and kept in LOG.
timings=()
timed_log() {
  local name="$1" log="$2" t0=$SECONDS rc
  shift 2
  "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  timings+=("$name $((SECONDS - t0)) s")
  return "$rc"
}

other_pid=""
stop_all() {
  [ -z "$other_pid" ] || kill "$other_pid" 2>/dev/null
  session_stop
}
trap 'stop_all' EXIT
trap 'exit 130' INT TERM

mkdir -p "$log_dir"
timed_log "packages" "$log_dir/packages.log" scripts/install-deps.sh || fail_setup "installing the dependencies failed"

# The other release's root is made (or brought up to date) while this machine
# builds: it needs the network and the disk more than the processor.
other=$(platform_other_codename) || fail_setup "this is not Debian 12 or 13: no other platform to test on"
other_root="$root/build/debian-$other"
(
  t0=$SECONDS
  platform_make_root "$other_root" "$other" "$root" >"$log_dir/root-$other.log" 2>&1
  rc=$?
  echo "the $other root: $((SECONDS - t0)) s" >>"$log_dir/root-$other.log"
  exit $rc
) &
other_pid=$!

build_all() {
  cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFADER_TESTS=ON >/dev/null || return 1
  cmake --build build/host -j"$jobs" || return 1
  cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DFADER_TESTS=ON >/dev/null || return 1
  # Where the Windows tiers run the x86-64 build, the 32-bit one is only the
  # program the release ships.
  local targets=()
  [ "$FADER_WIN_BUILD" = win32 ] || targets=(--target mirtane)
  cmake --build build/win32 -j"$jobs" "${targets[@]}" || return 1
  if [ "$FADER_WIN_BUILD" != win32 ]; then
    cmake -S . -B "build/$FADER_WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" \
      -DCMAKE_BUILD_TYPE=Release -DFADER_TESTS=ON >/dev/null || return 1
    cmake --build "build/$FADER_WIN_BUILD" -j"$jobs" || return 1
  fi
}
session_pick_windows_build
timed_log "builds" "$log_dir/build.log" build_all || fail_setup "the build failed"
if [ "$FADER_WIN_BUILD" = win32 ]; then
  echo "test: the Windows tiers run build/win32 under 32-bit Wine"
else
  echo "test: $FADER_WIN_BUILD_WHY; the Windows tiers run the x86-64 build (build/win64) under 64-bit Wine"
fi
win="$root/build/$FADER_WIN_BUILD"

# The end-to-end tier runs what users download: the stripped program from the
# release's zip, unpacked. Where 32-bit code cannot run, the x86-64 build is
# packed the same way and its program runs instead.
# The other root, once made. Where this is not the release's Debian, the
# release is built in that root, so it must be there first.
root_rc=""
wait_other_root() {
  [ -z "$root_rc" ] || return 0
  local t0=$SECONDS
  wait "$other_pid"
  root_rc=$?
  other_pid=""
  timings+=("waiting for the $other root $((SECONDS - t0)) s")
  cat "$log_dir/root-$other.log"
}
[ "$other" != "$RELEASE_CODENAME" ] || wait_other_root
echo "== the release (scripts/release.sh)"
timed_log "release" "$log_dir/release.log" scripts/release.sh || fail_setup "the release failed"
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
shipped_program="$win/shipped/mírtáné.exe"
echo "test: the end-to-end tiers run $shipped_program (stripped), unpacked from $shipped_zip"

echo "== tier 1: host unit tests (ASan, UBSan)"
timed_log "tier 1" "$log_dir/tier1.log" ctest --test-dir build/host -j"$jobs" --output-on-failure
tally_ctest "$log_dir/tier1.log" "tier 1"

echo "== tier 4: the release, read back and made again in another place"
timed_log "tier 4" "$log_dir/tier4.log" python3 tests/release/run.py --root "$root" --dist "$root/dist"
tally_summary "$log_dir/tier4.log" release

here=$(platform_codename)
echo "== the Windows tiers on this machine: $(platform_label)"
timed_log "Windows tiers on $here" "$log_dir/windows-$here.log" \
  scripts/lib/windows-tiers.sh "$FADER_WIN_BUILD" "$shipped_program"
tally_summary "$log_dir/windows-$here.log" "platform $here"

echo "== the Windows tiers on the other platform: Debian's $other, in $other_root"
wait_other_root
if [ "$root_rc" -ne 0 ]; then
  echo "test: the $other root could not be set up (see $log_dir/root-$other.log): its platform counts as failed"
  failed=$((failed + 1))
else
  echo "== $(platform_label "$other_root")"
  timed_log "Windows tiers on $other" "$log_dir/windows-$other.log" platform_in_root "$other_root" "$root" \
    scripts/lib/windows-tiers.sh "$FADER_WIN_BUILD" "$shipped_program"
  tally_summary "$log_dir/windows-$other.log" "platform $other"
fi

echo "test: what each part took: $(IFS=';'; echo "${timings[*]}" | sed 's/;/, /g'); in all $((SECONDS - started)) s"
for f in "$log_dir"/windows-*.log; do grep -E "^(platform|windows tiers)" "$f"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
