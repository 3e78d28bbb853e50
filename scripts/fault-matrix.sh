#!/usr/bin/env bash
# The fault matrix on its own: installs what is missing, builds, and runs the
# scripted session once per imported function and cell with that function
# made to fail (tests/faults/matrix.py). Prints the matrix and ends with
# "N passed, M failed". The test command runs it too.
#   ./scripts/fault-matrix.sh [-k NAME]    only the functions whose name holds NAME
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh

jobs=$(nproc 2>/dev/null || echo 2)
trap 'session_stop' EXIT
trap 'exit 130' INT TERM

scripts/install-deps.sh || exit 1
session_pick_windows_build
build="build/$FADER_WIN_BUILD"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$build" -j"$jobs" --target mirtane mirtane_faults chatroom winprobe || exit 1
session_start_display || exit 1
session_start_wine "$root/$build/wine"
session_fault_matrix "$root/$build" "$root/$build/faults" "$@"
