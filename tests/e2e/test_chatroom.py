"""The stand-in chat room on the display: a faded line posted across
processes shows in colour, and a person can type a line into it."""

import os
import subprocess

from harness import Failure, check

TITLE = "Stand-in chat room"
# Where room 1's input box sits in the frame's client area (the X window):
# room 1 opens at the top left of the MDI client, its input box along its
# bottom edge.
INPUT_BOX = (150, 387)


def winpath(path):
    """A path of this machine as Wine's Z: drive shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def start_room(s, *args):
    log = os.path.join(s.out, "chatroom.log")
    if os.path.exists(log):
        os.remove(log)
    s.wine("chatroom.exe", "--log", winpath(log), *args)
    s.wait_for(lambda: os.path.exists(log) and open(log).read().startswith("ready "), 20, "the room to be ready")
    return log, s.find_window(TITLE)


def log_lines(log):
    with open(log) as f:
        return f.read().splitlines()[1:]


def colour_counts(s, path, window):
    """Pixels of the room's frame that are clearly red, green or blue."""
    x, y, w, h = s.geometry(window)
    raw = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    counts = {"red": 0, "green": 0, "blue": 0}
    for i in range(0, len(raw) - 2, 3):
        r, g, b = raw[i], raw[i + 1], raw[i + 2]
        if r > 170 and g < 90 and b < 90:
            counts["red"] += 1
        elif g > 150 and r < 90 and b < 90:
            counts["green"] += 1
        elif b > 170 and r < 90 and g < 90:
            counts["blue"] += 1
    return counts


def test_posted_faded_line_shows_in_colour(s):
    log, window = start_room(s)
    before = colour_counts(s, s.screenshot("empty-room"), window)
    check(before == {"red": 0, "green": 0, "blue": 0}, "the empty room already shows colour: %r" % before)

    sender = s.wine("chatsend.exe", "--fade", "#FF0000", "#FFFF00", "#00FF00", "#00FFFF", "#0000FF",
                    "Faded across the rainbow, \u00ed\u00e1\u00e9 \u2022", log_name="chatsend")
    check(sender.wait(30) == 0, "chatsend found no room")
    lines = log_lines(log)
    check(len(lines) == 3 and lines[0].startswith("room=1 msg=WM_SETTEXT cp=") and
          lines[1] == "room=1 msg=WM_CHAR wparam=13" and lines[2] == "room=1 posted",
          "unexpected log: %r" % lines)
    # The set-text carried the markup: font tags and the code-page bytes of the text.
    hex_bytes = lines[0].split("bytes=", 1)[1]
    markup = bytes.fromhex(hex_bytes)
    check(markup.startswith(b'<font color="#FF') and markup[22:23] == b"F", "markup starts %r" % markup[:40])
    check(markup.endswith(b'<font color="#0000FF">\x95'), "markup ends %r" % markup[-40:])

    # The display repaints a moment after the post.
    s.wait_for(lambda: all(n >= 10 for n in colour_counts(s, s.screenshot("faded-line"), window).values()), 10,
               "the posted line to show red, green and blue")


def test_person_types_a_line_into_the_room(s):
    log, window = start_room(s)
    x, y, _, _ = s.geometry(window)
    s.click(x + INPUT_BOX[0], y + INPUT_BOX[1])
    s.type_text("hello room")
    s.key("Return")
    s.wait_for(lambda: "room=1 posted" in log_lines(log), 10, "the typed line to be posted")
    chars = [int(l.split("wparam=")[1]) for l in log_lines(log) if l.startswith("room=1 msg=WM_CHAR")]
    check(bytes(chars) == b"hello room\r", "the input box got %r" % bytes(chars))
    s.screenshot("typed-line")


def test_room_slow_over_enter_still_posts_the_line(s):
    # Slower than a sender waits for its Enter (5 s): the room posts all the
    # same, and the sender counts the line as sent (exit code 0).
    log, _ = start_room(s, "--slow-enter", "6000")
    sender = s.wine("chatsend.exe", "slow", log_name="chatsend")
    s.wait_for(lambda: "room=1 posted" in log_lines(log), 30, "the line to be posted")
    check(sender.wait(30) == 0, "chatsend took the slow room's Enter for a line not sent")
    lines = log_lines(log)
    check(len(lines) == 3 and lines[0].startswith("room=1 msg=WM_SETTEXT cp=") and
          lines[0].endswith(" bytes=736C6F77") and lines[1:] == ["room=1 msg=WM_CHAR wparam=13", "room=1 posted"],
          "unexpected log: %r" % lines)
