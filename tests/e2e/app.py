"""The program and the stand-in chat room as the end-to-end tests and the run
command use them: starting both, where the controls are, and what the room's
log says it received."""

import os
import time

from harness import Failure

PROGRAM = "m\u00edrt\u00e1n\u00e9.exe"
ROOM = "chatroom.exe"
CAPTION = "m\u00edrt\u00e1n\u00e9 \u00b7 b\u00fd grelvin"
PROGRAM_TITLE = "m\u00edrt\u00e1n\u00e9"  # the exit question's title
ROOM_TITLE = "Stand-in chat room"
CODE_PAGE = "cp1252"

# Control centres in client pixels (the window has no frame, so client = window).
TXT_MESSAGE = (40 + 84, 72 + 8)
CMD_SEND = (192 + 16, 112 + 8)
TITLE_BAR = (24 + 28, 48 + 8)
CMD_EXIT = (208 + 8, 40 + 8)
CMD_MINIMIZE = (184 + 8, 40 + 8)
SWATCHES = [(32 + 24 * i + 8, 104 + 8) for i in range(5)]  # Color1..Color5

# The swatches' colours at start, 0x00BBGGRR.
DEFAULT_COLOURS = [0x0000FF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0x000000]


class RoomLog:
    """The stand-in room's log: one line per message its windows received."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, encoding="ascii", errors="replace") as f:
                return [line.rstrip("\n") for line in f if line.endswith("\n")]
        except FileNotFoundError:
            return []

    def input_lines(self, room=1):
        prefix = "room=%d " % room
        return [line for line in self.lines() if line.startswith(prefix)]

    def set_texts(self, room=1):
        """The bytes of every WM_SETTEXT the room's input box received."""
        out = []
        for line in self.input_lines(room):
            fields = dict(f.split("=", 1) for f in line.split(" ") if "=" in f)
            if fields.get("msg") == "WM_SETTEXT":
                out.append(bytes.fromhex(fields.get("bytes", "")))
        return out

    def posted_count(self, room=1):
        return sum(1 for line in self.input_lines(room) if line == "room=%d posted" % room)

    def wait_ready(self, s, timeout=30):
        s.wait_for(lambda: any(line.startswith("ready ") for line in self.lines()), timeout, "the room to be ready")

    def wait_posted(self, s, count, room=1, timeout=20):
        s.wait_for(lambda: self.posted_count(room) >= count, timeout, "%d posted line(s)" % count)


def _wait_gone(s, title):
    """A Wine process stopped by the previous test may keep its windows a
    moment; a room or program found then would be the old one."""
    s.wait_for(lambda: not s.xdotool("search", "--name", "^%s$" % title, check=False), 15,
               "the previous %r to go" % title)


def start_room(s, *args, name="room"):
    _wait_gone(s, ROOM_TITLE)
    log = RoomLog(os.path.join(s.out, name + ".log"))
    s.wine(ROOM, "--log", log.path, *args, log_name=name)
    log.wait_ready(s)
    return log


def start_program(s):
    """Starts the program; returns its X window id once it shows."""
    _wait_gone(s, CAPTION)
    proc = s.wine(PROGRAM)
    window = s.find_window(CAPTION, timeout=30)
    s.program = proc
    return window


def click_control(s, window, control, button=1):
    x, y, _, _ = s.geometry(window)
    s.click(x + control[0], y + control[1], button)


def encode(text):
    """The bytes the room receives for a wide line, converted as the code page does."""
    return text.encode(CODE_PAGE, errors="replace")


def process_ended(proc, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if proc.poll() is not None:
            return True
        time.sleep(0.1)
    return False


def expect(cond, message):
    if not cond:
        raise Failure(message)
