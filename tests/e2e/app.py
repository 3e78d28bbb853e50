"""The program and the stand-in chat room as the end-to-end tests, the fault
matrix and the run command use them: starting both, where the controls are,
what the room's log says it received, the tray icon and the window's outline."""

import os
import subprocess

from harness import Failure, Session
from harness import check as expect  # noqa: F401  (the tests' name for it)

PROGRAM = "m\u00edrt\u00e1n\u00e9.exe"
ROOM = "chatroom.exe"
CAPTION = "m\u00edrt\u00e1n\u00e9 \u00b7 b\u00fd grelvin"
PROGRAM_TITLE = "m\u00edrt\u00e1n\u00e9"  # the exit question's title
ROOM_TITLE = "Stand-in chat room"
CODE_PAGE = "cp1252"

WINDOW_SIZE = (367, 282)

# The visible controls as (left, top, width, height) in client pixels (the
# window has no frame, so client = window).
TXT_MESSAGE_RECT = (40, 72, 169, 17)
CMD_SEND_RECT = (192, 112, 33, 17)
TITLE_BAR_RECT = (24, 48, 57, 17)
CMD_EXIT_RECT = (208, 40, 17, 17)
CMD_MINIMIZE_RECT = (184, 40, 17, 17)
SWATCH_RECTS = [(32 + 24 * i, 104, 17, 17) for i in range(5)]  # Color1..Color5
VISIBLE_CONTROLS = [TXT_MESSAGE_RECT, CMD_SEND_RECT, TITLE_BAR_RECT, CMD_EXIT_RECT, CMD_MINIMIZE_RECT] + SWATCH_RECTS


# The scales the tests marked at_each_scale run at: 100 %, 150 % and 200 %,
# or those FADER_E2E_DPIS lists ("120,168").
DPIS = tuple(int(d) for d in os.environ.get("FADER_E2E_DPIS", "96,144,192").split(","))


def scaled(s, pixels):
    """A length in pixels at 96 dpi (15 twips each) at s.dpi, rounded as the program rounds."""
    return round(pixels * 15 / (1440 / s.dpi))


def set_screen_dpi(dpi):
    """The prefix's screen at dpi. Wine's processes, its services among them, read it as
    they start: all start anew (their output to nowhere, or a pipe they hold keeps this waiting)."""
    wine, server = os.environ["WINELOADER"], os.environ["WINESERVER"]
    for args in ([wine, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                  str(dpi), "/f"], [server, "-k"], [server, "-w"], [server, "-p"], [wine, "cmd.exe", "/c", "exit"]):
        subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=60)


def at_each_scale(test):
    """Runs a test on a screen at each of DPIS (s.dpi), and leaves it at 96."""
    def run(s):
        try:
            for s.dpi in DPIS:
                print("  at %d dpi" % s.dpi, flush=True)
                set_screen_dpi(s.dpi)  # which ends the last scale's Wine processes
                test(s)
        finally:
            set_screen_dpi(96)
    return run


def on_the_desktop(test):
    """Marks a test whose outcome a window manager or a tray host can change:
    the desktop tier runs it again with both on the display."""
    test.desktop = True
    return test


# Where a person clicks each control: its centre.
TXT_MESSAGE, CMD_SEND, TITLE_BAR, CMD_EXIT, CMD_MINIMIZE, *SWATCHES = [
    (left + width // 2, top + height // 2) for left, top, width, height in VISIBLE_CONTROLS]

# The message box inside its border, where its text shows.
MESSAGE_TEXT_AREA = (TXT_MESSAGE_RECT[0] + 2, TXT_MESSAGE_RECT[1] + 3,
                     TXT_MESSAGE_RECT[2] - 4, TXT_MESSAGE_RECT[3] - 6)

MESSAGE_LIMIT = 32767  # UTF-16 units the message box takes

# The colour dialog and its 8 x 6 grid of basic colours (dialog item 720).
COLOUR_DIALOG = "Color"
BASIC_COLOURS_ITEM = 720

# The swatches' colours at start, 0x00BBGGRR.
DEFAULT_COLOURS = [0x0000FF, 0xFF0000, 0xE0E0E0, 0xFF8080, 0x000000]


class LineLog:
    """A log another process writes line by line: the lines it finished."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                return [line.rstrip("\n") for line in f if line.endswith("\n")]
        except FileNotFoundError:
            return []


class RoomLog(LineLog):
    """The stand-in room's log: one line per message its windows received."""

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

    def after_ready(self):
        """Every line the room logged once it was ready."""
        return self.lines()[1:]

    def typed(self, since=0, room=1):
        """The characters room's input box got as WM_CHAR, after the first
        `since` of its lines."""
        prefix = "room=%d msg=WM_CHAR wparam=" % room
        return bytes(int(line[len(prefix):]) for line in self.input_lines(room)[since:] if line.startswith(prefix))

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


def start_room(s, *args, exe=ROOM):
    """Starts the room with these extra options; returns its log once it is ready."""
    _wait_gone(s, ROOM_TITLE)
    log = RoomLog(os.path.join(s.out, "room.log"))
    # A room of this test's last scale left its "ready" there; the new one clears it only once it runs.
    if os.path.exists(log.path):
        os.remove(log.path)
    s.wine(exe, "--log", log.path, *args, log_name="room")
    log.wait_ready(s)
    return log


def start_program(s):
    """Starts the program as s.program; returns its X window id once it shows."""
    _wait_gone(s, CAPTION)
    s.program = s.wine(s.program_file or PROGRAM, env=s.program_env)
    return s.find_window(CAPTION, timeout=30)


def wait_painted(s, window):
    """Waits until the window has painted: its message box shows white on the skin."""
    x, y = (v + scaled(s, at) for v, at in zip(s.geometry(window), TXT_MESSAGE))
    s.wait_for(lambda: s.pixel(s.screenshot("painting"), x, y) == (255, 255, 255), 10, "the window to paint")


def centred_origin(s):
    """Where the window's top left lies when it is centred on the screen."""
    width, height = s.screen_size()
    return (width - WINDOW_SIZE[0]) // 2, (height - WINDOW_SIZE[1]) // 2


def start_both(s, *room_args):
    """The room first, so that the program stacks above it; returns the room's
    log and the program's window once the program has loaded."""
    log = start_room(s, *room_args)
    window = start_program(s)
    log.wait_posted(s, 1)  # the start announcement
    return log, window


def click_control(s, window, control, button=1):
    x, y, _, _ = s.geometry(window)
    s.click(x + scaled(s, control[0]), y + scaled(s, control[1]), button)


def click_into_room(s, room, x, y):
    """Clicks the room at a screen point, as a person going back to it does.
    On a bare display nothing takes X's keyboard focus from the program's
    window, which Wine does not manage there; a window manager gives it to
    the window clicked, and so does this."""
    s.click(x, y)
    if not s.desktop:
        s.xdotool("windowfocus", "--sync", room)


def point_into(s, window):
    """Puts the pointer in the middle of a window: keys go where the pointer is."""
    x, y, w, h = s.geometry(window)
    s.move_pointer(x + w // 2, y + h // 2)


def question_box(s):
    """The program's exit question, once it shows, with the pointer on it."""
    box = s.find_window(PROGRAM_TITLE, 10)
    point_into(s, box)
    return box


def message_text(s, window):
    """What the message box holds now, read from the box itself; None when
    no window answered there."""
    x, y, _, _ = s.geometry(window)
    out = s.probe("text-at", x + TXT_MESSAGE[0], y + TXT_MESSAGE[1])
    return None if out is None else out.decode("utf-8")


def item_rect(s, title, item, what):
    """(left, top, width, height) on the screen of the dialog item with that
    identifier in the window titled title, once found (now and then none is while X shows it)."""
    out = s.wait_for(lambda: s.probe("item-rect", title, item), 10, "the %s dialog's %s" % (title, what))
    return tuple(map(int, out.split()))


def click_item(s, title, item, what):
    """Clicks the middle of a dialog item, as a person would."""
    left, top, width, height = item_rect(s, title, item, what)
    s.click(left + width // 2, top + height // 2)


def basic_colour_cell(s, column, row):
    """The screen point of a basic colour, (column, row) of 8 by 6, found from
    the dialog's own grid: its size follows the fonts Wine finds."""
    left, top, width, height = item_rect(s, COLOUR_DIALOG, BASIC_COLOURS_ITEM, "grid of basic colours")
    dx, dy = width // 8, height // 6
    # Inside the painted square, clear of the gap the dialog leaves between cells.
    return left + dx * column + dx * 2 // 5, top + dy * row + dy * 2 // 5


def encode(text):
    """The bytes the room receives for a wide line, converted as the code page does."""
    return text.encode(CODE_PAGE, errors="replace")


def process_ended(proc, timeout=10):
    try:
        proc.wait(timeout)
        return True
    except subprocess.TimeoutExpired:
        return False


# -- the desktop: tray, stacking, pixels, clipboard ---------------------------

GREY = (128, 128, 128)  # the test display's root (scripts/lib/session.sh)

# Room 1's document window in the room frame's X window; the program, centred
# on the screen, overlaps its left part.
ROOM_CHILD = (12, 12, 556, 395)
# The room's input box in its frame's X window: a band along the bottom of
# room 1, and a point in it left of the program.
ROOM_INPUT_BOX = (20, 374, 463, 25)
ROOM_INPUT = (150, ROOM_INPUT_BOX[1] + ROOM_INPUT_BOX[3] // 2)


def wait_hidden(s, title, timeout=15):
    s.wait_for(lambda: not s.visible_window(title), timeout, "%r to hide" % title)


def wait_shown(s, title, timeout=15):
    return s.wait_for(lambda: s.visible_window(title), timeout, "%r to show" % title)


def in_rect(x, y, rect, margin=0):
    left, top, w, h = rect
    return left - margin <= x < left + w + margin and top - margin <= y < top + h + margin


def top_level_order():
    """The X windows directly under the root, bottom to top, mapped or not
    (xwininfo lists them top first)."""
    return [int(window, 16) for window in Session.children()][::-1]


def red_text_in_message_box(s, window, shot):
    """How many red text pixels the message box shows in a screenshot."""
    x, y, _, _ = s.geometry(window)
    left, top, width, height = MESSAGE_TEXT_AREA
    rows = s.screen_pixels(shot, x + left, y + top, width, height)
    return sum(1 for row in rows for r, g, _ in row if r > 180 and g < 80)


def drag(s, start, delta, button=1, steps=8):
    """Presses a button at a screen point, moves by delta in steps, releases."""
    s.move_pointer(*start)
    s.xdotool("mousedown", button)
    dx, dy = delta
    done_x = done_y = 0
    for i in range(1, steps + 1):
        to_x, to_y = dx * i // steps, dy * i // steps
        s.xdotool("mousemove_relative", "--sync", "--", to_x - done_x, to_y - done_y)
        done_x, done_y = to_x, to_y
    s.xdotool("mouseup", button)


def set_clipboard(s, text):
    """Owns the X clipboard with text (UTF-8) until the session ends or the
    returned process is stopped."""
    proc = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.procs.append(proc)
    proc.stdin.write(text.encode("utf-8"))
    proc.stdin.close()
    want = text.encode("utf-8")
    s.wait_for(lambda: subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                                      timeout=10).stdout == want, 10, "the clipboard to hold the text")
    return proc


def paste(s, window, text):
    """Pastes text into the message box through the X clipboard and waits until
    the box holds it, cut at its limit. Under Wine the clipboard follows the X
    clipboard a moment after it changes: the paste waits until programs see
    the text there. A key typed behind Ctrl+V shows when the paste was
    handled, since keys are handled in order."""
    want = held_text(text)
    clipboard = set_clipboard(s, text)
    try:
        s.wait_for(lambda: s.probe("clipboard") == text.encode("utf-8"), 30, "Wine's clipboard to hold the text")
        click_control(s, window, TXT_MESSAGE)
        if len(utf16_units(want)) == MESSAGE_LIMIT:
            # The full box has no room for the marker.
            s.key("ctrl+v")
            s.wait_for(lambda: message_text(s, window) == want, 30, "the message box to hold the pasted text")
            return
        held = keys_then_marker(s, window, lambda: s.key("ctrl+v"))
        expect(held == want, "the message box holds %r after the paste" % held)
    finally:
        clipboard.terminate()
        clipboard.wait()


def keys_then_marker(s, window, send_keys, alive=None):
    """Sends keys, then a marker key, and waits until the message box shows
    the marker: keys are handled in order, so every key before it was. Takes
    the marker out again and returns what the box holds then; None when
    alive() says the program ended meanwhile."""
    def until(what, held):
        def check():
            if alive and not alive():
                return "ended"
            text = message_text(s, window)
            return (text,) if text is not None and held(text) else None
        got = s.wait_for(check, 30, what)
        return None if got == "ended" else got[0]
    send_keys()
    s.key("asciitilde")
    marked = until("the keys and the marker behind them", lambda text: text.endswith("~"))
    if marked is None:
        return None
    s.key("BackSpace")
    return until("the marker to go", lambda text: text == marked[:-1])


def clear_message_box(s, window):
    """Deletes what the message box holds, as a person would, and waits until it is empty."""
    click_control(s, window, TXT_MESSAGE)
    s.key("End", "shift+Home", "Delete")
    s.wait_for(lambda: message_text(s, window) == "", 10, "the message box to empty")


def held_text(text):
    """What the message box holds once text is typed or pasted into it: the
    text cut at the box's limit."""
    return utf16_units(text)[:MESSAGE_LIMIT].encode("utf-16-le", "surrogatepass").decode("utf-16-le")


def utf16_units(text):
    """The text as the program holds it: one character per UTF-16 code unit,
    so a character beyond the first plane becomes its two surrogates."""
    raw = text.encode("utf-16-le", "surrogatepass")
    return "".join(chr(int.from_bytes(raw[i:i + 2], "little")) for i in range(0, len(raw), 2))


def input_messages(log, room=1):
    """The messages room's input box received, without their text."""
    return [line.split(" bytes=")[0] for line in log.input_lines(room)]


# -- the tray icon, and the window brought back from it ----------------------

def _is_icon_red(rgb):
    r, g, b = rgb
    return r > 150 and g < 90 and b < 90


def stand_in_tray(s):
    """Wine's own tray window, shown while an icon exists and no tray host
    takes it: a top-level window of Wine's explorer (titled "Wine System
    Tray" by Wine 8, untitled by Wine 10), or ''."""
    found = s.xdotool("search", "--onlyvisible", "--class", "^explorer\\.exe$", check=False).split()
    top = set(top_level_order())
    return next((w for w in found if int(w) in top), "")


def tray_icon(s):
    """(x, y) of the program's tray icon on the screen, or None: docked in
    the desktop's tray host when the session has one, else in Wine's own
    tray window (found by its pixels)."""
    if s.desktop:
        return s.desktop.docked_icon()
    tray = stand_in_tray(s)
    if not tray:
        return None
    x, y, w, h = s.geometry(tray)
    rows = s.screen_pixels(s.screenshot("tray"), x, y, w, h)
    # The icon is the red star: its pixels, apart from the window's frame.
    points = [(col, row) for row in range(h) for col in range(w) if _is_icon_red(rows[row][col])]
    if not points:
        return None
    cols, rws = [p[0] for p in points], [p[1] for p in points]
    return x + (min(cols) + max(cols)) // 2, y + (min(rws) + max(rws)) // 2


def point_at_tray_icon(s):
    """Waits for the program's tray icon and puts the pointer on it."""
    at = s.wait_for(lambda: tray_icon(s), 15, "the tray icon to show")
    if s.desktop:
        # (A docked icon's window may be on its way into the host a moment.)
        s.wait_for(lambda: not stand_in_tray(s), 5, "Wine's own tray window to go: the icon is in the tray host")
    s.move_pointer(*at)


def wait_tray_icon_gone(s):
    s.wait_for(lambda: not tray_icon(s), 15, "the tray icon to go")


def restore_from_tray(s, way):
    """Brings the window back with a double-click or a right press on its tray
    icon; returns the window once it shows and the icon has gone with it."""
    point_at_tray_icon(s)
    if way == "double-click":
        s.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    else:
        s.xdotool("mousedown", 3)
        s.xdotool("mouseup", 3)
    window = wait_shown(s, CAPTION)
    wait_tray_icon_gone(s)
    return window


# -- the window's outline: the skin's, the one read back, the one Wine 10.0 shows

SKIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "skin.gif")


def skin_rgba(dpi=96):
    """Rows of (r, g, b, a) of the skin picture at its 3750 twips at dpi: each
    pixel the file's pixel under its centre (ImageMagick's -sample)."""
    side = round(3750 / (1440 / dpi))
    out = subprocess.run(["convert", SKIN, "-sample", "%dx%d!" % (side, side), "-depth", "8", "rgba:-"],
                         capture_output=True, check=True).stdout
    size = int(len(out) ** 0.5 / 2)  # square, four bytes a pixel
    return [[tuple(out[(row * size + col) * 4:(row * size + col) * 4 + 4]) for col in range(size)]
            for row in range(size)]


def cut_away(rgba):
    """True where the window's shape leaves a hole: transparent in the picture,
    or the colour of the picture box's background behind it (black)."""
    return rgba[3] == 0 or rgba[:3] == (0, 0, 0)


def skin_outline(dpi=96):
    """The window's outline as the skin gives it: every pixel not cut away."""
    return {(x, y) for y, row in enumerate(skin_rgba(dpi)) for x, rgba in enumerate(row) if not cut_away(rgba)}


def window_region(s):
    """The pixels of the program's window region, read back from the window."""
    out = s.probe("region", CAPTION)
    if out is None:
        raise Failure("the program's window has no region")
    pixels = set()
    for line in out.decode().splitlines():
        left, top, right, bottom = map(int, line.split())
        pixels.update((x, y) for y in range(top, bottom) for x in range(left, right))
    return pixels


def shape_with_one_column_fault(outline):
    """The shape Wine 10.0 gives the X window for a window region: it fills
    its 1-bpp shape mask span by span, and a span whose pixels all lie in one
    8-pixel column of the mask comes out as the rest of that column right of
    the span (nothing when the span ends on the column's edge). Spans that
    cross a column edge come out right. Wine 8 takes the region as it is."""
    rows = {}
    for x, y in outline:
        rows.setdefault(y, []).append(x)
    shape = set()
    for y, xs in rows.items():
        xs.sort()
        start = prev = xs[0]
        for x in xs[1:] + [None]:
            if x is not None and x == prev + 1:
                prev = x
                continue
            right = prev + 1
            if start // 8 != prev // 8:
                shape.update((px, y) for px in range(start, right))
            elif right % 8:
                shape.update((px, y) for px in range(right, right // 8 * 8 + 8))
            if x is not None:
                start = prev = x
    return shape


def shape_may_have_one_column_fault():
    """Whether the Wine on this platform is one that shows that fault: seen
    on Wine 10.0; Wine 8 shows every region exactly."""
    out = subprocess.run([os.environ["WINELOADER"], "--version"], capture_output=True, text=True).stdout
    major = out.strip().removeprefix("wine-").split(".")[0]
    return major.isdigit() and int(major) >= 10
