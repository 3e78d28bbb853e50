#!/usr/bin/env python3
"""How light the program is under Wine, beside the floor a window with a 1 ms
timer cannot go below (bench/idle_floor_win32.cpp), both measured in this run
under the same Wine: CPU use over 10 seconds while idle, for the floor and for
the program with nothing, a 100-character line and a 32,767-character line in
its message box; and the time from the Return key to its answer, for the
floor (its edit control got the key) and for the program (the room's log has
the line). Before those, the time from launching the program to its window
shown, outline and all, on a screen of 96 dpi and of 192 dpi. Prints the
figures and their ratios to the floor or to 96 dpi; asserts nothing. Run it
through scripts/bench-wine.sh."""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import app  # noqa: E402
import harness  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
FLOOR_TITLE = "Idle floor"
ROUNDS = 5  # Return presses per short-line latency, of which the median counts
WINDOWS = 3  # CPU windows per figure, of which the median counts: the kernel counts CPU in 10 ms steps
STARTS = 3  # launches per scale in each of BLOCKS, of which the median counts
BLOCKS = 3  # the scales take turns, so that a busy spell of the machine weighs on both


def cpu_seconds(pid):
    """User plus system CPU time of a process so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def wineserver_pid():
    """The wineserver of this prefix: it works in the prefix's server folder."""
    st = os.stat(os.environ["WINEPREFIX"])
    folder = "server-%x-%x" % (st.st_dev, st.st_ino)
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.path.basename(os.readlink("/proc/%s/cwd" % entry)) == folder:
                    return int(entry)
            except OSError:
                pass
    return None


def cpu_use(pid, server, seconds):
    """CPU use of the process and of wineserver, in percent of one core: the
    median of WINDOWS windows of `seconds` each, after a second to settle."""
    time.sleep(1.0)
    figures = []
    for _ in range(WINDOWS):
        before = cpu_seconds(pid), cpu_seconds(server)
        start = time.monotonic()
        time.sleep(seconds)
        wall = time.monotonic() - start
        figures.append([100.0 * (cpu_seconds(p) - b) / wall for p, b in zip((pid, server), before)])
    return tuple(statistics.median(f[i] for f in figures) for i in range(2))


def key_to_log_ms(s, path, marks):
    """Presses Return; for each line start in `marks`, the milliseconds until
    the log at `path` gains such a line. Reads only what the log gained, so
    the polling costs little."""
    offset = os.path.getsize(path)
    pending = b""
    seen = {}
    start = time.monotonic()
    s.key("Return")
    while time.monotonic() - start < 30:
        size = os.path.getsize(path)
        if size == offset:
            time.sleep(0.0005)
            continue
        with open(path, "rb") as f:
            f.seek(offset)
            pending += f.read(size - offset)
        offset = size
        now = 1000.0 * (time.monotonic() - start)
        *lines, pending = pending.split(b"\n")
        for line in lines:
            for mark in marks:
                if line.startswith(mark) and mark not in seen:
                    seen[mark] = now
        if len(seen) == len(marks):
            return [seen[m] for m in marks]
    raise harness.Failure("the log did not show %r within 30 s" % (marks,))


def start_ms(s):
    """Milliseconds from launching the program to its window on the screen.
    It shows only once its outline is applied, so the outline is in them."""
    start = time.monotonic()
    s.program = s.wine(s.program_file or app.PROGRAM)
    while not s.visible_window(app.CAPTION):  # each look takes an xdotool run: a few ms
        if time.monotonic() - start > 30:
            raise harness.Failure("the program did not show within 30 s")
    ms = 1000.0 * (time.monotonic() - start)
    s.stop()
    app.wait_hidden(s, app.CAPTION)
    return ms


def measure_start(s):
    """Start-up at 96 and at 192 dpi, one after the other in this run."""
    figures = {96: [], 192: []}
    try:
        for _ in range(BLOCKS):
            for dpi, ms in figures.items():
                app.set_screen_dpi(dpi)
                start_ms(s)  # the first program after Wine starts anew starts slower
                ms += [start_ms(s) for _ in range(STARTS)]
    finally:
        app.set_screen_dpi(96)
    base = statistics.median(figures[96])
    print("Start-up, launch to the window shown with its outline, in ms (median, min, max of %d):"
          % (BLOCKS * STARTS))
    for dpi, ms in figures.items():
        print("  %3d dpi %10.1f %8.1f %8.1f %9.2fx" % (dpi, statistics.median(ms), min(ms), max(ms),
                                                     statistics.median(ms) / base))


def measure_floor(s, server, seconds):
    path = os.path.join(s.out, "floor.log")
    proc = s.wine("idle_floor.exe", "--log", path, log_name="floor")
    window = s.find_window(FLOOR_TITLE, 30)
    x, y, w, h = s.geometry(window)
    s.click(x + w // 2, y + h // 2)  # the keys go where the pointer is
    cpu = cpu_use(proc.pid, server, seconds)
    latency = statistics.median(key_to_log_ms(s, path, [b"answered"])[0] for _ in range(ROUNDS))
    proc.terminate()
    proc.wait()
    return cpu, latency


def measure_program(s, log, window, server, seconds):
    """CPU with each line in the box, and Return-to-room times for the lines."""
    pid = s.program.pid
    marks = [b"room=1 msg=WM_SETTEXT", b"room=1 posted"]
    cpu = {"empty": cpu_use(pid, server, seconds)}
    line = ("The quick brown fox jumps over the lazy dog. " * 3)[:100]
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_text(line)
    cpu["100"] = cpu_use(pid, server, seconds)
    times = [key_to_log_ms(s, log.path, marks)]
    for _ in range(ROUNDS - 1):
        s.type_text(line)
        times.append(key_to_log_ms(s, log.path, marks))
    short = [statistics.median(t[i] for t in times) for i in range(2)]
    app.paste(s, window, ("0123456789abcdefghijklmnopqrstuvwxyz" * 1000)[:app.MESSAGE_LIMIT])
    cpu["32767"] = cpu_use(pid, server, seconds)
    long = key_to_log_ms(s, log.path, marks)
    return cpu, short, long


def measure(s, seconds):
    """Measures the floor and the program in one session and prints the figures."""
    measure_start(s)
    log = app.start_room(s)
    server = wineserver_pid()
    if not server:
        raise harness.Failure("no wineserver found for this prefix")
    floor_cpu, floor_ms = measure_floor(s, server, seconds)
    window = app.start_program(s)
    log.wait_posted(s, 1)  # the start announcement
    cpu, short, long = measure_program(s, log, window, server, seconds)

    floor_sum = sum(floor_cpu)
    print("CPU while idle, in %% of one core, median of %d windows of %.0f s (floor: a bare window with an"
          " edit control and a 1 ms timer that does nothing):" % (WINDOWS, seconds))
    print("  %-28s %9s %11s %8s %15s %11s" % ("", "process", "wineserver", "sum", "process/floor",
                                               "sum/floor"))
    print("  %-28s %8.2f%% %10.2f%% %7.2f%% %15s %11s" % ("floor", floor_cpu[0], floor_cpu[1], floor_sum,
                                                         "1.00x", "1.00x"))
    for key, name in (("empty", "program, message box empty"), ("100", "program, 100 characters"),
                      ("32767", "program, 32,767 characters")):
        own, srv = cpu[key]
        print("  %-28s %8.2f%% %10.2f%% %7.2f%% %14.2fx %10.2fx" % (
            name, own, srv, own + srv, own / floor_cpu[0], (own + srv) / floor_sum))
    print("Return to its answer, in ms (floor: the bare window's edit control got the key; program: the"
          " room's log has the line):")
    print("  %-28s %14s %12s %12s" % ("", "in input box", "posted", "posted/floor"))
    print("  %-28s %14s %12.1f %11.2fx" % ("floor (median of %d)" % ROUNDS, "", floor_ms, 1.0))
    print("  %-28s %14.1f %12.1f %11.2fx" % ("100 characters (median of %d)" % ROUNDS, short[0], short[1],
                                             short[1] / floor_ms))
    print("  %-28s %14.1f %12.1f %11.2fx   (%d bytes of markup)" % (
        "32,767 characters", long[0], long[1], long[1] / floor_ms, len(log.set_texts()[-1])))


def main():
    ap = harness.parser()
    ap.add_argument("--seconds", type=float, default=10.0)
    args = ap.parse_args()
    return harness.run_main("program_load", "load", args, lambda s: measure(s, args.seconds))


if __name__ == "__main__":
    sys.exit(main())
