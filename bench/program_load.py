#!/usr/bin/env python3
"""How light the program is under Wine, measured as a person uses it: its CPU
use over 10 seconds with the window idle, then with a 100-character line
typed (the timer keeps ticking either way); and the time from the Return key
to the room's log for a short line and for a 32,767-character one. Prints
the figures; asserts nothing. Run it through scripts/bench-wine.sh."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import app  # noqa: E402
import harness  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


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


def cpu_use(pids, seconds):
    """Per process, its CPU use over the next `seconds` in percent of one core."""
    before = {p: cpu_seconds(p) for p in pids}
    start = time.monotonic()
    time.sleep(seconds)
    wall = time.monotonic() - start
    return {p: 100.0 * (cpu_seconds(p) - before[p]) / wall for p in pids}


def key_to_log_ms(s, log):
    """Presses Return; the milliseconds until the room's log shows the line
    arriving in the input box, and until it shows the line posted. Reads only
    what the log gained, so the polling costs little."""
    offset = os.path.getsize(log.path)
    pending = b""
    arrived = None
    start = time.monotonic()
    s.key("Return")
    while time.monotonic() - start < 30:
        size = os.path.getsize(log.path)
        if size == offset:
            time.sleep(0.0005)
            continue
        with open(log.path, "rb") as f:
            f.seek(offset)
            pending += f.read(size - offset)
        offset = size
        now = 1000.0 * (time.monotonic() - start)
        *lines, pending = pending.split(b"\n")
        for line in lines:
            if line.startswith(b"room=1 msg=WM_SETTEXT") and arrived is None:
                arrived = now
            if line == b"room=1 posted":
                return arrived, now
    raise harness.Failure("the line was not posted within 30 s")


def paste(s, window, text):
    app.set_clipboard(s, text)  # held until the session stops
    app.click_control(s, window, app.TXT_MESSAGE)
    s.key("ctrl+a")
    s.key("ctrl+v")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--seconds", type=float, default=10.0)
    args = ap.parse_args()
    s = harness.Session(args.build, args.out, "load")
    try:
        log, window = app.start_both(s)
        server = wineserver_pid()
        pids = [s.program.pid] + ([server] if server else [])
        time.sleep(1.0)

        idle = cpu_use(pids, args.seconds)
        line = ("The quick brown fox jumps over the lazy dog. " * 3)[:100]
        app.click_control(s, window, app.TXT_MESSAGE)
        s.type_text(line)
        time.sleep(1.0)
        typed = cpu_use(pids, args.seconds)

        short = key_to_log_ms(s, log)
        long_line = ("0123456789abcdefghijklmnopqrstuvwxyz" * 1000)[:32767]
        paste(s, window, long_line)
        time.sleep(3.0)  # the timer renders the pasted line
        held = cpu_use(pids, args.seconds)
        long = key_to_log_ms(s, log)
        print("CPU use over %.0f s, in %% of one core, with in the message box:" % args.seconds)
        print("  %-16s %12s %12s %14s" % ("", "nothing", "100 chars", "32,767 chars"))
        for name, pid in (("the program", pids[0]), ("wineserver", server)):
            if pid:
                print("  %-16s %11.1f%% %11.1f%% %13.1f%%" % (name, idle[pid], typed[pid], held[pid]))
        received = log.set_texts()[-1]
        print("Return to the room's log, in ms:   line in the input box   line posted")
        print("  100 characters              %10.1f %14.1f" % short)
        print("  32,767 characters           %10.1f %14.1f   (%d bytes of markup)" % (long + (len(received),)))
        return 0
    except harness.Failure as failure:
        print("program_load: %s" % failure, file=sys.stderr)
        return 1
    finally:
        s.stop()


if __name__ == "__main__":
    sys.exit(main())
