#!/usr/bin/env bash
# The run command: installs what running needs, builds the program, the
# stand-in chat room and the probe the demo reads the program with, and runs
# the program users get (stripped, as the release ships it) with the room as
# its chat client.
#   ./scripts/run.sh ["line to type"]
# With a display (DISPLAY set) both open there for you to use; the command
# returns when the program ends. Without one, both run on a private Xvfb
# display, the line is typed into the program and sent with Return, the markup
# the room received is printed, and a screenshot is saved as out/mirtane.png.
# (The test command installs and builds everything else.)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/session.sh

line="${1:-Hello from the fade}"
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh build wine || exit 1
session_pick_windows_build
build="build/$FADER_WIN_BUILD"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$FADER_WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$build" -j"$jobs" --target mirtane chatroom winprobe || exit 1
program=$(session_stripped_program "$root/$build") || exit 1
mkdir -p out

trap 'session_stop' EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ]; then
  session_start_wine "$root/$build/wine"
  rm -f out/room.log
  "$WINELOADER" "$build/bin/chatroom.exe" --log out/room.log >/dev/null 2>&1 &
  room=$!
  # The program finds the room when it starts: it starts once the room says
  # it is ready.
  for _ in $(seq 1 300); do
    grep -q '^ready ' out/room.log 2>/dev/null && break
    kill -0 "$room" 2>/dev/null || { echo "run: the room did not start" >&2; exit 1; }
    sleep 0.1
  done
  "$WINELOADER" "$program" >/dev/null 2>&1
  kill "$room" 2>/dev/null
  wait "$room" 2>/dev/null
  echo "run: the room's log is out/room.log"
else
  session_start_display || exit 1
  session_start_wine "$root/$build/wine"
  python3 tests/e2e/demo.py --build "$root/$build" --program "$program" --out "$root/out" --line "$line"
fi
