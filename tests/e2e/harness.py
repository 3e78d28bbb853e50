"""End-to-end harness: the real program and the stand-in chat room as two
Wine processes on the test command's private Xvfb display, driven with
xdotool as a person would, with logs and screenshots under the build tree."""

import argparse
import os
import shutil
import subprocess
import sys
import time


class Failure(AssertionError):
    pass


class Session:
    """One test's processes; everything it starts is stopped at the end."""

    def __init__(self, build, out, name, program=None, desktop=None):
        self.build = build
        # The window manager and tray host on the display (Desktop), or None
        # on a bare X display.
        self.desktop = desktop
        self.bin = os.path.join(build, "bin")
        # The program file the tests run: the one of the build, unless given
        # (the test command gives the one unpacked from the release's zip).
        self.program_file = program
        self.out = os.path.join(out, name)
        # Only this run's logs and screenshots: an old failure picture left
        # beside them would mislead whoever looks.
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.procs = []
        self.shots = 0
        # The program's Popen once app.start_program has started it: the tests
        # check that it is still running, or that it ended.
        self.program = None
        # What app.start_program adds to the program's environment alone.
        self.program_env = {}
        self.dpi = 96  # the screen's dots per inch, which app.at_each_scale sets

    # -- processes -------------------------------------------------------
    def wine(self, exe, *args, log_name=None, env=None):
        """Starts a Windows program of the build (or the program at the path
        exe), with env added to its environment; returns its Popen."""
        path = os.path.join(self.bin, exe)
        log = open(os.path.join(self.out, (log_name or os.path.basename(exe)) + ".stderr"), "wb")
        proc = subprocess.Popen([os.environ["WINELOADER"], path, *args], stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, env=dict(os.environ, **(env or {})))
        self.procs.append(proc)
        return proc

    def probe(self, *args):
        """winprobe's answer about the windows on the display (bytes), or None
        when it found no such window."""
        res = subprocess.run([os.environ["WINELOADER"], os.path.join(self.bin, "winprobe.exe"), *map(str, args)],
                             capture_output=True, stdin=subprocess.DEVNULL, env=os.environ.copy(), timeout=60)
        return res.stdout if res.returncode == 0 else None

    def stop(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.procs = []

    # -- X display -------------------------------------------------------
    @staticmethod
    def xdotool(*args, check=True):
        try:
            res = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("xdotool %s did not answer in 30 s" % " ".join(map(str, args)))
        if check and res.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (" ".join(map(str, args)), res.stderr.strip()))
        return res.stdout.strip()

    def screen_size(self):
        """(width, height) of the display (scripts/lib/session.sh sets it)."""
        width, height = self.xdotool("getdisplaygeometry").split()
        return int(width), int(height)

    def visible_window(self, title):
        """The X id of a mapped window with exactly this title, or ''."""
        out = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title, check=False)
        return out.splitlines()[0] if out else ""

    def find_window(self, name, timeout=15.0):
        """The X window id of the first visible window whose title is name."""
        return self.wait_for(lambda: self.visible_window(name), timeout, "a window titled %r" % name)

    @staticmethod
    def geometry(window):
        """(x, y, width, height) of an X window on the screen. xwininfo's
        absolute place is right under a window manager too, where xdotool
        counts the frame's offset twice."""
        return Session.window_info(window)[:4]

    @staticmethod
    def xwininfo(window, *args):
        """What xwininfo says of an X window ("-root" for the root). Given no
        window id, xwininfo would wait for a click on one: a window that has
        gone (its id '') fails here instead, as does an xwininfo that hangs."""
        if not str(window).strip():
            raise Failure("no X window to read (the window has gone)")
        where = ["-root"] if window == "-root" else ["-id", str(window)]
        try:
            return subprocess.run(["xwininfo", *where, *args], capture_output=True, text=True, timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("xwininfo %s did not answer in 10 s" % " ".join(where + list(args)))

    @staticmethod
    def window_info(window):
        """(x, y, width, height, viewable) of an X window, from one xwininfo."""
        res = Session.xwininfo(window)
        vals = dict((k.strip(), v.strip()) for k, v in
                    (line.split(":", 1) for line in res.stdout.splitlines() if ":" in line))
        try:
            return tuple(int(vals[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")) \
                + (vals.get("Map State") == "IsViewable",)
        except (KeyError, ValueError):
            raise Failure("no geometry for X window %s: %s" % (window, res.stderr.strip()))

    @staticmethod
    def children(window="-root"):
        """The X windows directly under window (the root by default), top
        first, mapped or not, as xwininfo lists them."""
        out = Session.xwininfo(window, "-children").stdout
        return [line.split()[0] for line in out.splitlines() if line.startswith("     0x")]

    def move_pointer(self, x, y):
        """Moves the pointer and waits until it is there (xdotool's --sync would
        wait for good when it is there already)."""
        here = dict(f.split(":", 1) for f in self.xdotool("getmouselocation").split() if ":" in f)
        if (int(here["x"]), int(here["y"])) != (x, y):
            self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1):
        self.move_pointer(x, y)
        self.xdotool("click", button)

    def type_text(self, text, delay_ms=2):
        # "--": a line may start with a dash.
        self.xdotool("type", "--delay", delay_ms, "--", text)

    def type_line(self, text, delay_ms=2):
        """Types text and Return right behind its last key, in one run of
        keys, as key rollover or a typing tool would. (A newline given to
        `xdotool type` is Linefeed, not Return.)"""
        keys = [ch if ch.isascii() and ch.isalnum() else "U%04X" % ord(ch) for ch in text]
        self.xdotool("key", "--delay", delay_ms, *keys, "Return")

    def key(self, *keys):
        self.xdotool("key", *keys)

    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(self.out, "%02d-%s.png" % (self.shots, label))
        subprocess.run(["import", "-window", "root", path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    @staticmethod
    def screen_pixels(path, x, y, w, h):
        """Rows of (r, g, b) of a rectangle of a screenshot, read in one go."""
        out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-depth", "8",
                              "rgb:-"], capture_output=True, check=True).stdout
        if len(out) != w * h * 3:
            raise Failure("the screenshot has no %dx%d+%d+%d rectangle" % (w, h, x, y))
        return [[tuple(out[(row * w + col) * 3:(row * w + col) * 3 + 3]) for col in range(w)] for row in range(h)]

    def pixel(self, path, x, y):
        """(r, g, b) of one pixel of a screenshot."""
        return self.screen_pixels(path, x, y, 1, 1)[0][0]

    # -- waiting ---------------------------------------------------------
    @staticmethod
    def wait_for(predicate, timeout=10.0, what="condition"):
        deadline = time.time() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.time() >= deadline:
                raise Failure("timed out waiting for " + what)
            time.sleep(0.05)


class Desktop:
    """A window manager (openbox) and an XEMBED tray host (trayer) on the
    display, as a Linux desktop has them; stopped again by stop()."""

    def __init__(self, out):
        os.makedirs(out, exist_ok=True)
        self.log_path = os.path.join(out, "desktop.stderr")
        self.log = open(self.log_path, "wb")
        self.procs = []
        try:
            openbox = self._start(["openbox", "--sm-disable"])
            self._wait_for(openbox, lambda: "window id" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout,
                "the window manager to run")
            self.panel = self._start_trayer()
        except BaseException:
            self.stop()
            raise

    def _start_trayer(self):
        """The tray host's panel window. A trayer that ends or hangs before
        its panel shows is started once more; the second failure stands."""
        for attempt in (1, 2):
            trayer = self._start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                  "--width", "120", "--height", "24"])
            try:
                return self._wait_for(trayer, lambda: Session.xdotool(
                    "search", "--onlyvisible", "--name", "^panel$", check=False).split()[:1],
                    "the tray host's panel")[0]
            except Failure as failure:
                if attempt == 2:
                    raise
                print("e2e: %s; starting trayer once more" % failure, flush=True)
                trayer.kill()
                trayer.wait()

    def _start(self, argv):
        proc = subprocess.Popen(argv, stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def _wait_for(self, proc, predicate, what):
        """What predicate returns once proc shows it; a failure says whether
        proc ended and what it printed."""
        ended = object()
        try:
            value = Session.wait_for(lambda: predicate() or (ended if proc.poll() is not None else None), 20, what)
            if value is not ended:
                return value
            failure = Failure("%s ended before showing %s" % (proc.args[0], what))
        except Failure as timed_out:
            failure = timed_out
        self.log.flush()
        with open(self.log_path, "rb") as f:
            printed = f.read().decode("utf-8", "replace").strip()[-600:]
        state = "running" if proc.poll() is None else "exit code %d" % proc.returncode
        raise Failure("%s (%s %s; the desktop printed: %s)" % (failure, proc.args[0], state, printed or "nothing"))

    def docked_icon(self):
        """The centre of the icon docked in the tray host, or None. The panel
        keeps a 1x1 window of its own; a docked icon is a larger child."""
        for window in Session.children(self.panel):
            x, y, w, h, viewable = Session.window_info(window)
            if w > 1 and h > 1 and viewable:
                return x + w // 2, y + h // 2
        return None

    def stop(self):
        for proc in self.procs:
            proc.terminate()
            proc.wait()
        self.log.close()


def check(cond, message):
    if not cond:
        raise Failure(message)


# -- commands that drive a session: the run command's demo, the benchmarks ----

def parser():
    """A command line with the build to run and the folder for its logs and screenshots."""
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True, help="the win32 build folder")
    ap.add_argument("--out", required=True, help="where logs and screenshots go")
    ap.add_argument("--program", help="the program file to run (default: the build's)")
    return ap


def run_main(tool, name, args, body):
    """Runs body(session) in a session named name and returns the exit code: 1
    with "tool: what failed" on stderr when it raised a Failure. The session's
    processes are stopped in any case."""
    s = Session(args.build, args.out, name, args.program)
    try:
        body(s)
        return 0
    except Failure as failure:
        print("%s: %s" % (tool, failure), file=sys.stderr)
        return 1
    finally:
        s.stop()
