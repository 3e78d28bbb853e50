"""A person's session with the program: the keyboard's walk through the
controls, a long run of lines with colour changes and trips to the tray,
a pasted line as long as the box takes, and characters the code page lacks."""

import random

import app
import markup
from app import expect


def _send_line(s, window, log, text, posted, by_button=False, delay_ms=2):
    """Types a line into the focused message box and sends it right behind
    the last key, as key rollover or a typing tool would: Return goes out in
    the same run of keys, the send button is clicked at once. Returns the
    room's new count of posted lines."""
    if by_button:
        s.type_text(text, delay_ms)
        app.click_control(s, window, app.CMD_SEND)
    else:
        s.type_line(text, delay_ms)
    log.wait_posted(s, posted + 1)
    return posted + 1


def _type_accented(s, window, text):
    """Types a line with accented letters until the message box holds it.
    xdotool types a letter the keymap lacks by remapping a spare key for it,
    and Wine, when busy, now and then reads that key with the mapping before
    and drops the letter: a fault of the typing, not of the program. A key
    typed behind the line shows when every key before it was handled."""
    for _ in range(5):
        if app.keys_then_marker(s, window, lambda: s.type_text(text, 40)) == text:
            return
        app.clear_message_box(s, window)
    raise app.Failure("%r could not be typed" % text)


def _colour_at(s, x, y):
    r, g, b = s.pixel(s.screenshot("colour"), x, y)
    return r | g << 8 | b << 16


def _pick_colour(s, window, swatch, cell):
    """Clicks a swatch, picks a basic colour in the dialog and closes it with
    OK; returns the colour as the swatch then shows it, 0x00BBGGRR."""
    app.click_control(s, window, app.SWATCHES[swatch])
    s.find_window(app.COLOUR_DIALOG, 10)
    x, y = app.basic_colour_cell(s, *cell)
    chosen = _colour_at(s, x, y)
    s.click(x, y)
    s.key("Return")
    app.wait_hidden(s, app.COLOUR_DIALOG)
    wx, wy, _, _ = s.geometry(window)
    sx, sy = app.SWATCHES[swatch]
    s.wait_for(lambda: _colour_at(s, wx + sx, wy + sy) == chosen, 10,
               "swatch %d to show the colour picked, %06X" % (swatch + 1, chosen))
    return chosen


def test_tab_walks_the_message_box_two_hidden_boxes_send_exit_and_minimize_in_turn(s):
    log, window = app.start_both(s)
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_text("abc")
    # Message box, then the two boxes no one sees, then the send button:
    # the F goes into the first of those, not into the line; Space presses
    # the button.
    s.key("Tab")
    s.type_text("F")
    s.key("Tab", "Tab")
    s.key("space")
    log.wait_posted(s, 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "abc")),
           "the send button posted %r" % log.set_texts()[-1])

    # The send gave the focus back to the message box; six stops bring it
    # round to the message box again.
    s.type_text("q")
    s.key(*["Tab"] * 6)
    s.key("End")
    posted = _send_line(s, window, log, "r", 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "qr")),
           "after a round of Tab the line was %r" % log.set_texts()[-1])

    # Backwards from the message box: minimize, then exit, which asks.
    s.key("shift+Tab", "shift+Tab")
    s.key("space")
    app.question_box(s)
    s.key("n")
    app.wait_hidden(s, app.PROGRAM_TITLE)
    expect(s.program.poll() is None and log.posted_count() == posted, "No ended the program or posted")

    # The answer gave the focus back to the exit button: one more Tab and
    # Space minimize.
    wx, wy, _, _ = s.geometry(window)
    s.move_pointer(wx + app.TITLE_BAR[0], wy + app.TITLE_BAR[1])
    s.key("Tab")
    s.key("space")
    app.wait_hidden(s, app.CAPTION)
    app.restore_from_tray(s, "double-click")

    # The focus went to the box outside the skin before the window hid, and
    # is there again: one step back is the message box.
    s.move_pointer(wx + app.TITLE_BAR[0], wy + app.TITLE_BAR[1])
    s.key("shift+Tab")
    _send_line(s, window, log, "t", posted)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "t")),
           "after the tray the line was %r" % log.set_texts()[-1])


ASCII = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789      .,;:!?-_()[]<>&\"'#/*+=@%"
ACCENTED = "\u00e9\u00e8\u00ea\u00e0\u00e1\u00ed\u00f3\u00fa\u00fd\u00f8\u00e6\u00e5\u00fc\u00f6\u00e4\u00f1\u00e7\u00df"


def _session_lines(count, seed=7):
    rng = random.Random(seed)
    lines = []
    for i in range(count):
        alphabet = ASCII + ACCENTED if 170 <= i < 176 else ASCII
        n = rng.choice([1, 2, 3, 4, 5]) if i % 9 == 0 else rng.randint(6, 40)
        lines.append("".join(rng.choice(alphabet) for _ in range(n)))
    return lines


def test_a_long_session_posts_every_line_once_in_order_through_colour_changes_and_the_tray(s):
    log, window = app.start_both(s)
    colours = list(app.DEFAULT_COLOURS)
    lines = _session_lines(200)
    expected = []
    posted = 1
    app.click_control(s, window, app.TXT_MESSAGE)
    for i, text in enumerate(lines):
        if i == 50:
            colours[1] = _pick_colour(s, window, 1, (5, 3))
        elif i == 120:
            colours[4] = _pick_colour(s, window, 4, (1, 1))
            colours[0] = _pick_colour(s, window, 0, (3, 0))
        elif i in (90, 150):
            app.click_control(s, window, app.CMD_MINIMIZE)
            app.wait_hidden(s, app.CAPTION)
            app.restore_from_tray(s, "double-click" if i == 90 else "right-press")
        if i in (50, 90, 120, 150):
            app.click_control(s, window, app.TXT_MESSAGE)
        if any(ch in ACCENTED for ch in text):
            _type_accented(s, window, text)
            posted = _send_line(s, window, log, "", posted, by_button=i % 20 == 7)
        else:
            posted = _send_line(s, window, log, text, posted, by_button=i % 20 == 7)
        expected.append(app.encode(markup.fade(colours, text)))
        received = log.set_texts()[-1]
        expect(received == expected[-1], "line %d %r arrived as %r, not %r" % (i, text, received, expected[-1]))

    s.screenshot("after-200-lines")
    texts = log.set_texts()
    expect(texts[0] == app.encode(markup.START_ANNOUNCEMENT), "the start announcement is not first")
    expect(texts[1:] == expected, "the room got %d lines after the announcement, not the %d sent"
           % (len(texts) - 1, len(expected)))
    kinds = app.input_messages(log)
    expect(kinds.count("room=1 msg=WM_CHAR wparam=13") == 201 and log.posted_count() == 201,
           "the room's input box got %d Enter characters and posted %d lines"
           % (kinds.count("room=1 msg=WM_CHAR wparam=13"), log.posted_count()))
    expect(set(kinds) <= {"room=1 msg=WM_SETTEXT cp=1252", "room=1 msg=WM_CHAR wparam=13", "room=1 posted"},
           "the room's input box got other messages: %r" % sorted(set(kinds)))
    expect(s.program.poll() is None, "the program ended")


def _markup_text(received):
    """The characters of faded markup, without their colour tags."""
    return b"".join(part[part.index(b">") + 1:] for part in received.split(b'<font color="#')[1:])


def _paste_and_send(s, window, log, text):
    """Pastes text into the message box and presses Enter right behind the
    paste; returns the bytes of the one set-text the room got."""
    before = len(log.set_texts())
    app.paste(s, window, text)
    s.key("Return")
    s.wait_for(lambda: len(log.set_texts()) > before, 20, "the line")
    got = log.set_texts()[before:]
    expect(len(got) == 1, "the room got %d set-texts for one paste" % len(got))
    return got[0]


def test_a_pasted_line_is_cut_at_32767_characters_and_arrives_exactly(s):
    log, window = app.start_both(s)
    piece = "The f\u00e1d\u00e9 <&> \"qu\u00f8t\u00e9d\" \u20ac5 \u2022 "
    text = (piece * (32800 // len(piece) + 1))[:32800]
    received = _paste_and_send(s, window, log, text)
    want = app.encode(markup.fade(app.DEFAULT_COLOURS, text[:32767]))
    expect(len(want) == 753641, "the expected markup has %d bytes" % len(want))
    expect(received == want, "the long line arrived as %d bytes, first difference at %s"
           % (len(received), next((i for i, (a, b) in enumerate(zip(received, want)) if a != b), "the end")))
    expect(b"\x80" in received and b"\x95" in received, "the euro sign and bullet are not in code page 1252")
    # The room posts it once the Enter that follows has come, and the
    # message box is empty again.
    log.wait_posted(s, 2)
    s.wait_for(lambda: app.red_text_in_message_box(s, window, s.screenshot("posted")) == 0, 10,
               "the message box to empty")
    expect(s.program.poll() is None, "the program ended")


def test_characters_outside_the_code_page_go_out_as_question_marks_and_the_next_line_is_fine(s):
    log, window = app.start_both(s)
    text = "A\U0001F600B\u4e2d\u6587C\u20ac\u00e9"
    units = app.utf16_units(text)
    expect(len(units) == len(text) + 1, "the emoji is not two UTF-16 units")
    received = _paste_and_send(s, window, log, text)
    want = app.encode(markup.fade(app.DEFAULT_COLOURS, units))
    expect(received == want, "received %r, not %r" % (received, want))
    # Each half of the emoji carries its own colour tag, so each goes out as
    # its own question mark; the CJK characters too.
    shown = _markup_text(received)
    expect(shown == b"A??B??C\x80\xe9", "the text in the markup reads %r" % shown)
    log.wait_posted(s, 2)

    app.click_control(s, window, app.TXT_MESSAGE)
    _send_line(s, window, log, "still fine", 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "still fine")),
           "the next line arrived as %r" % log.set_texts()[-1])
    expect(s.program.poll() is None, "the program ended")
