# Shared by the test and run commands: a private Xvfb display and a private
# Wine prefix inside the build tree, both always stopped again on exit.
# Source it, then call session_start; session_stop runs from the EXIT trap.

SESSION_XVFB_PIDS=()
SESSION_STARTED_WINE=""

# Starts one more private Xvfb display and leaves its name (":N") in
# SESSION_NEW_DISPLAY; session_stop stops it.
session_new_display() {
  local fdfile num i
  fdfile=$(mktemp)
  # -displayfd picks a free display number and writes it once the server is ready.
  # -noreset: without it the server resets (and the root turns black again)
  # when its last client, xsetroot, disconnects.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset -ardelay 250 -arinterval 30 3>"$fdfile" >/dev/null 2>&1 &
  SESSION_XVFB_PIDS+=("$!")
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  num=$(tr -dc '0-9' <"$fdfile")
  rm -f "$fdfile"
  if [ -z "$num" ]; then
    echo "session: Xvfb did not start" >&2
    return 1
  fi
  SESSION_NEW_DISPLAY=":$num"
  # A grey desktop, so cut-away parts of windows are easy to see in screenshots.
  command -v xsetroot >/dev/null && DISPLAY="$SESSION_NEW_DISPLAY" xsetroot -solid '#808080' 2>/dev/null || true
}

# The display the session's programs run on.
session_start_display() {
  session_new_display || return 1
  export DISPLAY="$SESSION_NEW_DISPLAY"
}

# Stops the displays started since the first $1 (all by default).
_session_stop_displays() {
  local keep="${1:-0}" i
  for ((i = ${#SESSION_XVFB_PIDS[@]} - 1; i >= keep; i--)); do
    kill "${SESSION_XVFB_PIDS[$i]}" 2>/dev/null || true
    wait "${SESSION_XVFB_PIDS[$i]}" 2>/dev/null || true
    unset "SESSION_XVFB_PIDS[$i]"
  done
}

# The product is the 32-bit build (build/win32). The Windows tests run on the
# 32-bit build under 32-bit Wine where this machine can execute 32-bit x86
# code; where it cannot (some virtual machines lack 32-bit user mode and fail
# with "Exec format error"), they run on the same sources built for x86-64
# (build/win64) under 64-bit Wine. A choice given (win32 or win64) is taken
# as it is: the other platform's root runs what this machine picked.
# FADER_WIN_BUILD_WHY says why, when it picked win64 itself.
session_pick_windows_build() {
  local pick="${1:-}"
  FADER_WIN_BUILD_WHY=""
  if [ -z "$pick" ]; then
    pick=win32
    if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
      pick=win64 FADER_WIN_BUILD_WHY="this machine cannot execute 32-bit x86 code"
    elif [ ! -x /usr/lib/wine/wine ]; then
      pick=win64 FADER_WIN_BUILD_WHY="the 32-bit Wine is not installed"
    fi
  fi
  if [ "$pick" = win32 ]; then
    export FADER_WIN_BUILD=win32 FADER_WIN_TOOLCHAIN=cmake/toolchain-mingw-i686.cmake
    export FADER_OBJDUMP=i686-w64-mingw32-objdump
    export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32
  else
    export FADER_WIN_BUILD=win64 FADER_WIN_TOOLCHAIN=cmake/toolchain-mingw-x86_64.cmake
    export FADER_OBJDUMP=x86_64-w64-mingw32-objdump
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
  fi
}

session_start_wine() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export LC_ALL=C.UTF-8
  # No Mono or Gecko installers at first boot: nothing here needs them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    # wineboot returns before the registry is written.
    "$WINESERVER" -w
  fi
  session_restart_wine
}

# (Re)starts the prefix's Wine server and services once here, so each test's
# Wine process starts fast and reads the prefix's settings as they are now.
session_restart_wine() {
  "$WINESERVER" -k >/dev/null 2>&1 && "$WINESERVER" -w
  "$WINESERVER" -p >/dev/null 2>&1 || true
  "$WINELOADER" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
  SESSION_STARTED_WINE=1
}

# Whether Wine manages the windows of the program (and of its test build)
# and its own tray window: yes on a desktop with a window manager, no on a
# bare test display. There Wine 8 would wait 2 s for a window manager
# whenever a window hides, and Wine 10 would never unmap a hidden window it
# manages; unmanaged, both hide it at once. The room stays managed, so that
# a click gives it the keyboard as a person expects. Wine's processes read
# this when they start, so they start again.
session_wine_manages_windows() {
  local exe key
  "$WINELOADER" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null
  for exe in mírtáné.exe mirtane-faults.exe explorer.exe; do
    key="HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver"
    if [ "$1" = yes ]; then
      "$WINELOADER" reg delete "$key" /v Managed /f >/dev/null 2>&1 </dev/null
    else
      "$WINELOADER" reg add "$key" /v Managed /d N /f >/dev/null 2>&1 </dev/null
    fi
  done
  session_restart_wine
}

# The fault matrix of a Windows build (tests/faults/matrix.py) on three lanes,
# each on a display of its own, its output in the folder $2; extra arguments
# (-k NAME) go to it. The lanes' displays stop when it ends.
session_fault_matrix() {
  local before=${#SESSION_XVFB_PIDS[@]} displays=() rc
  while [ ${#displays[@]} -lt 3 ] && session_new_display; do displays+=("$SESSION_NEW_DISPLAY"); done
  python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/faults/matrix.py" --build "$1" --out "$2" \
    --product "$1/bin/mírtáné.exe" --objdump "$FADER_OBJDUMP" --displays "${displays[*]}" "${@:3}"
  rc=$?
  _session_stop_displays "$before"
  return $rc
}

# The program users get, without its symbols as in the release (the release
# adds a debug link too), from the build $1 (already built), into $1/run/;
# prints its path.
session_stripped_program() {
  mkdir -p "$1/run"
  "${FADER_OBJDUMP%objdump}strip" --strip-all -o "$1/run/mírtáné.exe" "$1/bin/mírtáné.exe" || return 1
  echo "$1/run/mírtáné.exe"
}

session_stop() {
  if [ -n "$SESSION_STARTED_WINE" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    SESSION_STARTED_WINE=""
  fi
  _session_stop_displays
}
