"""The stand-in chat room on the display: a faded line posted across
processes shows in colour, and a person can type a line into it."""

import app
from app import expect


def colour_counts(s, shot, window):
    """Pixels of the room's frame that are clearly red, green or blue."""
    counts = {"red": 0, "green": 0, "blue": 0}
    for row in s.screen_pixels(shot, *s.geometry(window)):
        for r, g, b in row:
            if r > 170 and g < 90 and b < 90:
                counts["red"] += 1
            elif g > 150 and r < 90 and b < 90:
                counts["green"] += 1
            elif b > 170 and r < 90 and g < 90:
                counts["blue"] += 1
    return counts


def test_posted_faded_line_shows_in_colour(s):
    log = app.start_room(s)
    window = s.find_window(app.ROOM_TITLE)
    before = colour_counts(s, s.screenshot("empty-room"), window)
    expect(before == {"red": 0, "green": 0, "blue": 0}, "the empty room already shows colour: %r" % before)

    sender = s.wine("chatsend.exe", "--fade", "#FF0000", "#FFFF00", "#00FF00", "#00FFFF", "#0000FF",
                    "Faded across the rainbow, \u00ed\u00e1\u00e9 \u2022", log_name="chatsend")
    expect(sender.wait(30) == 0, "chatsend found no room")
    lines = log.after_ready()
    expect(len(lines) == 3 and lines[0].startswith("room=1 msg=WM_SETTEXT cp=") and
           lines[1] == "room=1 msg=WM_CHAR wparam=13" and lines[2] == "room=1 posted",
           "unexpected log: %r" % lines)
    # The set-text carried the markup: font tags and the code-page bytes of the text.
    markup = log.set_texts()[0]
    expect(markup.startswith(b'<font color="#FF') and markup[22:23] == b"F", "markup starts %r" % markup[:40])
    expect(markup.endswith(b'<font color="#0000FF">\x95'), "markup ends %r" % markup[-40:])

    # The display repaints a moment after the post.
    s.wait_for(lambda: all(n >= 10 for n in colour_counts(s, s.screenshot("faded-line"), window).values()), 10,
               "the posted line to show red, green and blue")


def test_person_types_a_line_into_the_room(s):
    log = app.start_room(s)
    x, y, _, _ = s.geometry(s.find_window(app.ROOM_TITLE))
    s.click(x + app.ROOM_INPUT[0], y + app.ROOM_INPUT[1])
    s.type_text("hello room")
    s.key("Return")
    log.wait_posted(s, 1)
    expect(log.typed() == b"hello room\r", "the input box got %r" % log.typed())
    s.screenshot("typed-line")


def test_room_slow_over_enter_still_posts_the_line(s):
    # Slower than a sender waits for its Enter (5 s): the room posts all the
    # same, and the sender counts the line as sent (exit code 0).
    log = app.start_room(s, "--slow-enter", "6000")
    sender = s.wine("chatsend.exe", "slow", log_name="chatsend")
    log.wait_posted(s, 1, timeout=30)
    expect(sender.wait(30) == 0, "chatsend took the slow room's Enter for a line not sent")
    lines = log.after_ready()
    expect(len(lines) == 3 and lines[0].startswith("room=1 msg=WM_SETTEXT cp=") and
           lines[0].endswith(" bytes=736C6F77") and lines[1:] == ["room=1 msg=WM_CHAR wparam=13", "room=1 posted"],
           "unexpected log: %r" % lines)
