#!/usr/bin/env bash
# The program's costs under Wine: building its outline at load, its start-up
# at 96 and 192 dpi, its CPU use while it idles, and the time from Return to
# the chat room. Figures only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh

scripts/install-deps.sh
session_pick_windows_build
build="build/$FADER_WIN_BUILD"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
# The program users get: stripped, as the release ships it.
program=$(session_stripped_program "$root/$build")

trap 'session_stop' EXIT
session_start_display
session_start_wine "$root/$build/wine"
echo "== the window's outline ($FADER_WIN_BUILD build under Wine)"
scripts/wine-run.sh "$build/bin/region_timing.exe"
echo "== the program at work"
python3 bench/program_load.py --build "$root/$build" --program "$program" --out "$root/build/bench-wine"
