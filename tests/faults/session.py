"""One scripted session of the test build with one Windows function (or an
allocation) made to fail, and the checks every session must pass whatever
failed: no crash and no exception through a window procedure, no process
left behind, no line posted twice or cut, every typed line posted whole or
kept in the message box with a beep, the window shown or hidden behind an
icon, and as many GDI objects, icons and windows after the round trips as
before them."""

import os
import subprocess
import time

import app
import markup
from harness import Failure

PROGRAM = "mirtane-faults.exe"
TYPED = "fault line 1"
PASTED = "fault line 2, pasted"
SNAPSHOT = "mirtane.faults.snapshot"
WM_CLOSE = 16
CLICK_DONE = "handled 0x202"  # the left button's release was handled
KEY_DONE = "handled 0x101"  # a key's release was handled


class FaultLog(app.LineLog):
    """The test build's log (tests/faults/fault_hooks_win32.cpp)."""

    def count(self, prefix):
        return sum(1 for line in self.lines() if line.startswith(prefix))

    def calls(self):
        """{name: (total, before the first Enter, until the next message)}."""
        out = {}
        for line in self.lines():
            if line.startswith("calls "):
                _, name, total, at, after = line.split()
                out[name] = (int(total), int(at), int(after))
        return out

    def listed(self, prefix):
        for line in self.lines():
            if line.startswith(prefix + " ") or line == prefix:
                return line.split()[1:]
        return []


class Cell:
    """What one session saw; `problems` empty when it passed."""

    def __init__(self, fault):
        self.fault = fault
        self.problems = []
        self.notes = []
        self.calls = {}
        self.hooked = self.cannot_fail = []  # the functions routed through a stub

    def problem(self, text):
        self.problems.append(text)


def run(s, room_log, fault, timeout=20.0):
    """Runs the session in harness session s against the running room whose
    log is room_log; fault is "NAME K", "NAME K+", "NAME send", "NAME send+"
    or None (nothing fails)."""
    cell = Cell(fault)
    flog = FaultLog(os.path.join(s.out, "faults.log"))
    if os.path.exists(flog.path):
        os.remove(flog.path)
    env = os.environ.copy()
    env["MIRTANE_FAULT_LOG"] = flog.path
    env.pop("MIRTANE_FAULT", None)
    if fault:
        env["MIRTANE_FAULT"] = fault
    room_before = len(room_log.lines())
    stderr = open(os.path.join(s.out, "program.stderr"), "wb")
    app._wait_gone(s, app.CAPTION)
    proc = subprocess.Popen([os.environ["WINELOADER"], os.path.join(s.bin, PROGRAM)], env=env, stdout=stderr,
                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    s.procs.append(proc)
    s.program = proc
    state = _State(s, proc, flog, cell, room_log)
    try:
        _script(s, state, timeout)
    except Failure as failure:
        # It ended on its own mid-step (a message loop that failed ends the
        # program, and its windows go a moment before the process does):
        # what it left behind is checked below.
        if app.process_ended(proc, 5):
            cell.notes.append("ended on its own")
        else:
            cell.problem(str(failure))
            s.screenshot("failure")
    finally:
        if proc.poll() is None:
            if not app.process_ended(proc, 15):
                cell.problem("the program was left running")
                proc.kill()
                proc.wait()
        stderr.close()
    _check_end(s, state, room_log, room_before)
    cell.calls = flog.calls()
    cell.hooked, cell.cannot_fail = flog.listed("hooked"), flog.listed("cannot-fail")
    return cell


class _State:
    def __init__(self, s, proc, flog, cell, room_log):
        self.s, self.proc, self.flog, self.cell, self.room_log = s, proc, flog, cell, room_log
        self.window = None
        self.kept = []  # lines that stayed in the message box, with a beep
        self.yes = False
        self.before = self.after = None

    def room_posted(self):
        return self.room_log.posted_count()

    def alive(self):
        return self.proc.poll() is None

    def wait(self, predicate, what, timeout):
        """Waits for predicate, or for the program to end; False if it ended."""
        value = self.s.wait_for(lambda: predicate() or (not self.alive() and "ended"), timeout, what)
        return value != "ended"

    def after_click(self, count, what, timeout):
        """Waits until the program handled one more left-button release."""
        return self.wait(lambda: self.flog.count(CLICK_DONE) > count, what, timeout)

    def raise_above_room(self, timeout=20.0):
        """No window manager keeps the topmost window above the room here,
        and Wine 10 may stack it again a moment after it shows or the room
        takes a line: raised, as a window manager would keep it, until X has
        it above the room; False if the program ended."""
        def on_top():
            order = app.top_level_order()
            room = self.s.visible_window(app.ROOM_TITLE)
            if room and int(room) in order and int(self.window) in order and \
                    order.index(int(self.window)) > order.index(int(room)):
                return True
            self.s.xdotool("windowraise", self.window, check=False)
            return False
        return self.wait(on_top, "the window above the room", timeout)

    def click(self, control, what, timeout=20.0):
        if not self.raise_above_room(timeout):
            return False
        count = self.flog.count(CLICK_DONE)
        app.click_control(self.s, self.window, control)
        return self.after_click(count, what, timeout)


def _script(s, st, timeout):
    # Start: the window shows (the announcement went out or not before it).
    if not st.wait(lambda: s.visible_window(app.CAPTION), "the window to show", 30):
        st.cell.notes.append("did not start")
        return
    st.window = s.visible_window(app.CAPTION)

    # A line typed with Return right behind it.
    _send_typed(s, st, timeout)
    if not st.alive():
        return
    # A line pasted, sent with the button.
    _send_pasted(s, st, timeout)
    if not st.alive():
        return

    st.before = _snapshot(s, st)
    # To the tray and back.
    if st.alive() and not _tray_round_trip(s, st, timeout):
        return
    # A colour picked, then a second dialog cancelled.
    for swatch, cell in ((1, (5, 3)), (2, None)):
        if st.alive() and not _colour_dialog(s, st, swatch, cell, timeout):
            return
    # A drag of the title bar.
    if st.alive() and not _drag(s, st, timeout):
        return
    st.after = _snapshot(s, st)

    # Exit: the question, Yes; or, when it cannot be asked, close the window.
    if st.alive():
        _exit(s, st, timeout)


def _clear_message_box(s, st):
    """A line that stayed in the box is what a person sees there and deletes
    before the next one."""
    if app.message_text(s, st.window):
        app.clear_message_box(s, st.window)


def _outcome_of_send(s, st, text, beeps, posted_before, room_log_wait, timeout):
    """After a send: posted (the room's log says so) or kept with a beep."""
    def settled():
        if st.flog.count("beep") > beeps:
            return "kept"
        if room_log_wait() > posted_before:
            return "posted"
        return None
    if not st.wait(settled, "%r to be posted or kept with a beep" % text, timeout):
        return
    if settled() == "kept" and room_log_wait() == posted_before:
        held = app.message_text(s, st.window)
        if held != text:
            st.cell.problem("%r was neither posted nor kept: the box holds %r" % (text, held))
        st.kept.append(text)


def _send_typed(s, st, timeout):
    beeps, posted = st.flog.count("beep"), st.room_posted()
    keys = st.flog.count(KEY_DONE)
    app.click_control(s, st.window, app.TXT_MESSAGE)
    s.type_line(TYPED)
    _outcome_of_send(s, st, TYPED, beeps, posted, st.room_posted, timeout)
    if st.alive() and st.room_posted() > posted:
        _return_again(s, st, keys + len(TYPED) + 1, timeout)
    if st.alive():
        _clear_message_box(s, st)


def _return_again(s, st, keys, timeout):
    """A box that kept the posted line (it could not be emptied): a second
    Return posts nothing (the room's log would hold the line twice) and beeps.
    The line's last key released is the end of its send."""
    if not st.wait(lambda: st.flog.count(KEY_DONE) >= keys, "the typed line's keys to be handled", timeout):
        return
    if app.message_text(s, st.window) != TYPED:
        return
    beeps, posted = st.flog.count("beep"), st.room_posted()
    s.key("Return")
    _outcome_of_send(s, st, TYPED, beeps, posted, st.room_posted, timeout)


def _paste(s, st):
    """Pastes PASTED, which the lane keeps on the clipboard, and waits until
    the box holds it: a key typed behind Ctrl+V shows the paste was handled."""
    app.click_control(s, st.window, app.TXT_MESSAGE)
    held = app.keys_then_marker(s, st.window, lambda: s.key("ctrl+v"), st.alive)
    if held is not None and held != PASTED:
        raise Failure("the paste left %r in the message box" % held)


def _send_pasted(s, st, timeout):
    _paste(s, st)
    beeps, posted = st.flog.count("beep"), st.room_posted()
    if not st.click(app.CMD_SEND, "the send button's click", timeout):
        return
    _outcome_of_send(s, st, PASTED, beeps, posted, st.room_posted, timeout)
    if st.alive():
        _clear_message_box(s, st)


def _tray_round_trip(s, st, timeout):
    added = st.flog.count("done Shell_NotifyIconA 1")
    if not st.click(app.CMD_MINIMIZE, "the minimize button's click", timeout):
        return False
    if st.flog.count("done Shell_NotifyIconA 1") == added:
        # No icon: the window must stay.
        if not s.visible_window(app.CAPTION):
            st.cell.problem("the window hid with no tray icon to bring it back")
            return False
        return True
    app.wait_hidden(s, app.CAPTION)
    app.point_at_tray_icon(s)
    s.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    st.window = app.wait_shown(s, app.CAPTION)
    # With no window manager the window Wine maps again can land beneath the
    # room that took the double-click's release (the end-to-end tests check
    # the stacking); here it is raised, as a window manager would keep it.
    if not st.raise_above_room(timeout):
        return False
    # On screen again: the message box, which the system paints, shows white.
    app.wait_painted(s, st.window)
    return True


def _colour_dialog(s, st, swatch, cell, timeout):
    if not st.raise_above_room(timeout):
        return False
    count = st.flog.count(CLICK_DONE)
    app.click_control(s, st.window, app.SWATCHES[swatch])
    opened = st.wait(lambda: s.visible_window(app.COLOUR_DIALOG) or st.flog.count(CLICK_DONE) > count,
                     "the colour dialog or the click's end", timeout)
    if not opened:
        return False
    if not s.visible_window(app.COLOUR_DIALOG):
        return True  # the dialog could not open: the swatch keeps its colour
    if cell:
        x, y = app.basic_colour_cell(s, *cell)
        s.click(x, y)
    # OK takes the colour, Cancel keeps the old one: clicked, as a person
    # would (Wine 10 does not always give the keyboard to a dialog it does
    # not manage).
    app.click_item(s, app.COLOUR_DIALOG, 1 if cell else 2, "OK button" if cell else "Cancel button")
    if not st.after_click(count, "the colour dialog to close", timeout):
        return False
    # Its X window may stay a moment after it has closed: the next dialog is
    # told from it only once it has gone.
    app.wait_hidden(s, app.COLOUR_DIALOG, timeout)
    return True


def _drag(s, st, timeout):
    x, y, _, _ = s.geometry(st.window)
    count = st.flog.count(CLICK_DONE)
    app.drag(s, (x + app.TITLE_BAR[0], y + app.TITLE_BAR[1]), (40, 30))
    if not st.after_click(count, "the drag's release", timeout):
        return False
    nx, ny, _, _ = s.geometry(st.window)
    if nx not in (x, x + 40) or ny not in (y, y + 30):
        st.cell.problem("a drag by 40, 30 from %d, %d left the window at %d, %d" % (x, y, nx, ny))
    return True


def _snapshot(s, st):
    """The program's live GDI objects, icons and windows, as it counts them
    when the registered message reaches it."""
    count = st.flog.count("live ")
    if s.probe("post", app.CAPTION, SNAPSHOT) is None:
        return None
    if not st.wait(lambda: st.flog.count("live ") > count, "the program's counts", 20):
        return None
    return [line for line in st.flog.lines() if line.startswith("live ")][-1]


def _exit(s, st, timeout):
    count = st.flog.count(CLICK_DONE)
    app.click_control(s, st.window, app.CMD_EXIT)
    if not st.wait(lambda: s.visible_window(app.PROGRAM_TITLE) or st.flog.count(CLICK_DONE) > count,
                   "the exit question or the click's end", timeout):
        return
    if s.visible_window(app.PROGRAM_TITLE):
        app.question_box(s)
        s.key("Return")  # Yes is the default button
        st.yes = True
        st.wait(lambda: False, "the program to end after Yes", 15)
        return
    # The question could not be asked: closing the window is the other way out.
    s.probe("post", app.CAPTION, WM_CLOSE)
    st.wait(lambda: False, "the program to end after WM_CLOSE", 15)


def _check_end(s, st, room_log, room_before):
    cell = st.cell
    lines = st.flog.lines()
    code = st.proc.returncode
    if code not in (0, 1):
        cell.problem("the program ended with code %s" % code)
    try:
        with open(os.path.join(s.out, "program.stderr"), encoding="utf-8", errors="replace") as f:
            err = f.read()
        if "Unhandled" in err or "page fault" in err:
            cell.problem("crashed: " + err.strip().splitlines()[0])
    except FileNotFoundError:
        pass
    for line in lines:
        if "exception reached" in line:
            cell.problem(line[len("debug "):])
    if st.before and st.after and st.before != st.after:
        cell.problem("after the round trips %s, before them %s" % (st.after[5:], st.before[5:]))

    # What the room posted: each line whole, at most once.
    expected = {
        app.encode(markup.START_ANNOUNCEMENT): "the start announcement",
        app.encode(markup.fade(app.DEFAULT_COLOURS, TYPED)): "the typed line",
        app.encode(markup.fade(app.DEFAULT_COLOURS, PASTED)): "the pasted line",
        app.encode(markup.EXIT_ANNOUNCEMENT): "the exit announcement",
    }
    posted = _posted_lines(room_log.lines()[room_before:])
    seen = set()
    for text in posted:
        name = expected.get(text)
        if name is None:
            cell.problem("the room posted a line that is no whole line: %r" % text[:120])
        elif name in seen:
            cell.problem("%s was posted twice" % name)
        seen.add(name)
    for text, name in ((TYPED, "the typed line"), (PASTED, "the pasted line")):
        if name not in seen and text not in st.kept and "did not start" not in cell.notes:
            if st.alive() or code in (0, 1):
                cell.notes.append("%s was neither posted nor kept (the program ended before it)" % name)
    if "the exit announcement" in seen and not st.yes:
        cell.problem("the exit announcement went out without Yes")


def _posted_lines(log_lines):
    """The set-texts of the room's input box that an Enter posted."""
    out, last = [], None
    for line in log_lines:
        if line.startswith("room=1 msg=WM_SETTEXT"):
            fields = dict(f.split("=", 1) for f in line.split(" ") if "=" in f)
            last = bytes.fromhex(fields.get("bytes", ""))
        elif line == "room=1 posted" and last is not None:
            out.append(last)
            last = None
    return out
