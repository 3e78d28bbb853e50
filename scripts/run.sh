#!/usr/bin/env bash
# The run command: installs what is missing, builds, and runs the program with
# the stand-in chat room as its chat client.
#   ./scripts/run.sh ["line to type"]
# With a display (DISPLAY set) both open there for you to use; the command
# returns when the program ends. Without one, both run on a private Xvfb
# display, the line is typed into the program and sent with Return, the markup
# the room received is printed, and a screenshot is saved as out/mirtane.png.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh

line="${1:-Hello from the fade}"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh || exit 1
session_pick_windows_build
build="build/$FADER_WIN_BUILD"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$build" -j"$jobs" || exit 1
mkdir -p out

trap 'session_stop' EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ]; then
  session_start_wine "$root/$build/wine"
  "$WINELOADER" "$build/bin/chatroom.exe" --log out/room.log >/dev/null 2>&1 &
  room=$!
  sleep 1
  "$WINELOADER" "$build/bin/mírtáné.exe" >/dev/null 2>&1
  kill "$room" 2>/dev/null
  wait "$room" 2>/dev/null
  echo "run: the room's log is out/room.log"
else
  session_start_display || exit 1
  session_start_wine "$root/$build/wine"
  python3 tests/e2e/demo.py --build "$root/$build" --out "$root/out" --line "$line"
fi
