#!/usr/bin/env python3
"""The fault matrix: the scripted session (session.py) run once with nothing
failing, to learn which imported functions it calls and when, then once per
cell: each function it calls made to fail at its first call, at its first
call once the first line's Enter is taken (inside that send where the send
calls it), and at every call from then on. Allocations (operator new) get
the same cells. Cells run side by side, each lane on an Xvfb display and a
Wine prefix of its own with a stand-in room of its own, since FindWindow
sees every window of a prefix. Prints the matrix and ends with
"faults: N passed, M failed"."""

import argparse
import multiprocessing
import os
import queue
import re
import shutil
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
import app  # noqa: E402
import harness  # noqa: E402
import pe_imports  # noqa: E402
import session  # noqa: E402

# The C runtime's functions: allocation fails through operator new ("new");
# the rest report nothing the program could act on.
C_RUNTIME = "msvcrt.dll"
# The x86-64 unwinder, which the C++ runtime calls only while an exception
# unwinds the stack. No stub may stand between it and its caller
# (RtlCaptureContext reads the caller's registers), and none of it has a
# failure to report.
UNWINDER = {"__C_specific_handler", "RtlCaptureContext", "RtlLookupFunctionEntry", "RtlUnwindEx", "RtlVirtualUnwind"}


def lane_main(lane, args, jobs, results):
    """One lane: its display, prefix and room; runs cells until told to stop."""
    root = os.path.join(args.out, "lane-%d" % lane)
    os.makedirs(root, exist_ok=True)
    os.environ["DISPLAY"] = args.displays[lane]
    prefix = os.path.join(root, "wine")
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.copytree(args.prefix, prefix, symlinks=True, ignore=shutil.ignore_patterns("wineserver"))
    os.environ["WINEPREFIX"] = prefix
    # No window manager runs on these displays: without this Wine waits 2 s
    # for one on every window it hides (the tray, each dialog, the exit
    # question), which is most of a session's time.
    subprocess.run([os.environ["WINELOADER"], "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                    "/d", "N", "/f"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    room = harness.Session(args.build, root, "room")
    room_log = None
    try:
        while True:
            job = jobs.get()
            if job is None:
                break
            if room_log is None or any(p.poll() is not None for p in room.procs):
                room.stop()
                room_log = app.start_room(room)
                # Every session pastes the same line: the clipboard holds it
                # from here on, and Wine's clipboard once it follows.
                app.set_clipboard(room, session.PASTED)
                room.wait_for(lambda: room.probe("clipboard") == session.PASTED.encode("utf-8"), 30,
                              "Wine's clipboard to hold the pasted line")
            name = re.sub(r"[^A-Za-z0-9_+-]+", "-", job or "nothing")
            s = harness.Session(args.build, root, name)
            start = time.time()
            try:
                cell = session.run(s, room_log, job)
                results.put((job, cell.problems, cell.notes, (cell.calls, cell.hooked, cell.cannot_fail),
                             time.time() - start))
            except Exception:  # a broken cell is reported, the lane goes on
                results.put((job, ["the session broke: " + traceback.format_exc().strip().splitlines()[-1]], [],
                             ({}, [], []), time.time() - start))
            finally:
                s.stop()
    finally:
        room.stop()
        subprocess.run([os.environ["WINESERVER"], "-k"], check=False, stderr=subprocess.DEVNULL)


def cells_for(name, calls):
    """The cells of one function the session calls: (total, before the first
    Enter, until the message after it)."""
    total, at_send, _ = calls
    out = [name + " 1"]
    if total > at_send:
        if at_send > 0:  # else the first call after the Enter is the first call
            out.append(name + " send")
        out.append(name + " send+")
    elif total > 1:
        out.append(name + " 1+")
    return out


def cell_label(when, calls):
    """k=1, k=1+, or where the first call after the first Enter falls: inside
    that send, or later in the session."""
    if not when.startswith("send"):
        return "k=" + when
    _, at_send, after_send = calls
    return ("in-send" if after_send > at_send else "after-send") + when[4:]


def gave_up(why, passed):
    """The matrix cannot go on: says why, counts it as one failure."""
    print("fault matrix: " + why)
    print("faults: %d passed, 1 failed" % passed)
    return 1


def main():
    ap = harness.parser()
    ap.add_argument("--product", required=True, help="the program users get, for its import table")
    ap.add_argument("--objdump", required=True, help="objdump of the program's processor")
    ap.add_argument("--displays", required=True,
                    help="the X displays of the lanes, one lane each, space-separated (scripts/lib/session.sh)")
    ap.add_argument("-k", default="", help="run only the cells of functions whose name contains this")
    args = ap.parse_args()
    args.build, args.out = os.path.abspath(args.build), os.path.abspath(args.out)
    args.prefix = os.environ["WINEPREFIX"]
    args.displays = args.displays.split()
    if not args.displays:
        return gave_up("no display to run on", 0)
    started = time.time()

    jobs, results = multiprocessing.Queue(), multiprocessing.Queue()
    lanes = [multiprocessing.Process(target=lane_main, args=(n, args, jobs, results))
             for n in range(len(args.displays))]
    for lane in lanes:
        lane.start()
    passed = failed = 0

    def result():
        # A lane that broke takes its cell with it; the rest go on.
        while True:
            try:
                return results.get(timeout=5)
            except queue.Empty:
                if not any(lane.is_alive() for lane in lanes):
                    raise RuntimeError("every lane of the fault matrix ended")

    try:
        # The session with nothing failing: it must pass, and tells what it calls.
        jobs.put("")
        job, problems, notes, (calls, hooked, cannot), took = result()
        print("nothing fails: %s (%.1f s)" % ("pass" if not problems else "FAIL: " + "; ".join(problems), took),
              flush=True)
        if problems or not calls:
            return gave_up("the session fails with nothing failing, or counted no calls", 0)
        passed += 1
        hooked, cannot = set(hooked), set(cannot)

        # {function: dll} of the program users get.
        imports = {function: dll for dll, function in pe_imports.imports(args.product, args.objdump)}
        if not imports:
            return gave_up("no imports read from %s" % args.product, passed)
        rows, cells = [], []
        for name in sorted(imports, key=str.lower):
            dll = imports[name]
            if dll.lower() == C_RUNTIME:
                rows.append((name, "C runtime: allocations fail as \"new\"; nothing else reports a failure"))
            elif name in UNWINDER:
                rows.append((name, "the x86-64 unwinder: not hooked, nothing to report"))
            elif name not in hooked:
                rows.append((name, "NOT IN THE FAULT LIST"))
                failed += 1
            elif name not in calls:
                rows.append((name, "never called by the session"))
            elif name in cannot:
                rows.append((name, "cannot fail (%d calls)" % calls[name][0]))
            else:
                rows.append((name, None))
                cells += cells_for(name, calls[name])
        rows.append(("new", None))
        cells += cells_for("new", calls["new"])
        cells = [c for c in cells if args.k in c.split()[0]]

        for cell in cells:
            jobs.put(cell)
        outcome = {}
        for _ in cells:
            job, problems, notes, _, took = result()
            outcome[job] = (problems, notes, took)
            mark = "pass" if not problems else "FAIL"
            print("%-40s %s (%.1f s)%s" % (job, mark, took, (": " + "; ".join(problems)) if problems else ""),
                  flush=True)

        print("\nfault matrix (function x cell -> outcome):")
        for name, fixed in rows:
            if fixed is not None:
                print("  %-32s %s" % (name, fixed))
                continue
            row = []
            for cell in (c for c in cells if c.split()[0] == name):
                problems, notes, _ = outcome[cell]
                label = cell_label(cell.split()[1], calls[name])
                if problems:
                    failed += 1
                    row.append("%s FAIL" % label)
                else:
                    passed += 1
                    row.append("%s %s" % (label, "pass, " + notes[0] if notes else "pass"))
            print("  %-32s %s" % (name, " | ".join(row)))
        print("fault matrix: %d cells in %.0f s" % (len(cells), time.time() - started))
    finally:
        for _ in lanes:
            jobs.put(None)
        for lane in lanes:
            lane.join(60)
    print("faults: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
