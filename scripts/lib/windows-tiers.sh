#!/usr/bin/env bash
# The Windows tiers on this system's Wine, on programs already built: the
# Win32 tests (CTest), the end-to-end tests on the program users get, the
# desktop tier (the tests a window manager and a tray host change, run again
# with both on the display) and the fault matrix. The test command runs it on
# this machine and inside the other Debian release's root. Each tier's output
# goes to build/test-logs/<release>/; the last line is
# "platform <release>: N passed, M failed".
#   scripts/lib/windows-tiers.sh win32|win64 SHIPPED_PROGRAM
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
. scripts/lib/session.sh
. scripts/lib/platform.sh
. scripts/lib/tally.sh

session_pick_windows_build "$1"
program="$2"
win="$root/build/$FADER_WIN_BUILD"
release=$(platform_codename)
label=$(platform_label)
logs="$root/build/test-logs/$release"
out="$root/build/e2e/$release"
mkdir -p "$logs"

report() {
  echo "platform $release: $passed passed, $failed failed"
  exit 0
}
trap 'session_stop' EXIT
trap 'exit 130' INT TERM

if ! session_start_display; then
  echo "windows tiers: no Xvfb display on $label"
  failed=1
  report
fi
# A prefix of each Wine's own: Wine 10 would convert Wine 8's for good.
session_start_wine "$win/wine-$release"
# No window manager runs on the test display (but in the desktop tier).
session_wine_manages_windows no

echo "== tier 2 on $label: Win32 tests of build/$FADER_WIN_BUILD"
ctest --test-dir "$win" -j"$(nproc 2>/dev/null || echo 2)" --output-on-failure 2>&1 | tee "$logs/tier2.log"
tally_ctest "$logs/tier2.log" "tier 2"

echo "== tier 3 on $label: end to end, $program"
python3 tests/e2e/run.py --build "$win" --program "$program" --out "$out" 2>&1 | tee "$logs/tier3.log"
tally_summary "$logs/tier3.log" e2e

echo "== the desktop tier on $label: a window manager and a tray host on the display"
session_wine_manages_windows yes
python3 tests/e2e/run.py --desktop --build "$win" --program "$program" --out "$out-desktop" 2>&1 \
  | tee "$logs/desktop.log"
tally_summary "$logs/desktop.log" e2e
session_wine_manages_windows no

echo "== the fault matrix on $label: every Windows function the session calls, made to fail"
session_fault_matrix "$win" "$win/faults-$release" 2>&1 | tee "$logs/faults.log"
tally_summary "$logs/faults.log" faults

echo "windows tiers: tier 2 ran the tests of build/$FADER_WIN_BUILD, tiers 3 and the desktop tier ran $program,"
echo "windows tiers: the fault matrix ran build/$FADER_WIN_BUILD/bin/mirtane-faults.exe, all under $label"
report
