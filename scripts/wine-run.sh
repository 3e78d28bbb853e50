#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's private
# prefix; CTest uses it as the cross-compiling emulator of the Windows builds.
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${WINELOADER:-}" ]; then
  . "$here/scripts/lib/session.sh"
  session_pick_windows_build
fi
export WINEPREFIX="${WINEPREFIX:-$here/build/$FADER_WIN_BUILD/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LC_ALL="${LC_ALL:-C.UTF-8}"
# Wine's helper processes (services, the desktop) outlive the program and
# would keep CTest's output pipe open; they get a file instead.
out=$(mktemp)
"$WINELOADER" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
