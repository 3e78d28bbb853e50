"""Typing, sending, colour picking, start-up and exit, as a person does them."""

import app
import markup
from app import expect


def _type_line(s, window, text):
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_text(text)


def _return_on_the_empty_box_sends_nothing(s, log, sent):
    """Return on the empty message box sends nothing before the next line:
    keys are handled in order, so once that line is in, the Return was too.
    sent is the line the room got last, after the start announcement."""
    s.key("Return")
    s.type_line("next")
    log.wait_posted(s, 3)
    expect(log.set_texts()[1:] == [app.encode(markup.fade(app.DEFAULT_COLOURS, t)) for t in (sent, "next")],
           "the room got %r" % log.set_texts()[1:])


def test_start_announcement_arrives_as_code_page_bytes(s):
    log, _ = app.start_both(s)
    texts = log.set_texts()
    expect(texts[0] == app.encode(markup.START_ANNOUNCEMENT), "start announcement bytes: %r" % texts[0])
    lines = log.input_lines()
    at = lines.index(next(line for line in lines if "WM_SETTEXT" in line))
    expect(lines[at + 1] == "room=1 msg=WM_CHAR wparam=13", "Enter follows the text: %r" % lines[at + 1:at + 2])


def test_typed_line_arrives_faded_in_the_default_colours(s):
    log, window = app.start_both(s)
    _type_line(s, window, "hello")
    s.key("Return")
    log.wait_posted(s, 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "hello")),
           "markup received: %r" % log.set_texts()[-1])
    s.screenshot("hello-posted")
    # Both boxes are empty again: Return on its own sends nothing more.
    _return_on_the_empty_box_sends_nothing(s, log, "hello")


def test_send_button_posts_what_enter_would(s):
    log, window = app.start_both(s)
    _type_line(s, window, "by button")
    app.click_control(s, window, app.CMD_SEND)
    log.wait_posted(s, 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "by button")),
           "markup received: %r" % log.set_texts()[-1])
    # The focus is back in the message box: typing and Return send again.
    s.type_line("again")
    log.wait_posted(s, 3)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "again")), "second line")


def test_a_room_slow_to_answer_enter_gets_the_line_once(s):
    # The room takes 6 s over each Enter, longer than the program waits for
    # an answer (5 s), and posts the line after that.
    log, window = app.start_both(s, "--slow-enter", "6000")
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_line("slow room")
    log.wait_posted(s, 2)
    # The line counted as sent: the box is empty, and Return on it sends nothing.
    s.wait_for(lambda: app.message_text(s, window) == "", 10, "the message box to empty")
    _return_on_the_empty_box_sends_nothing(s, log, "slow room")


def test_ctrl_return_sends_nothing(s):
    log, window = app.start_both(s)
    _type_line(s, window, "not yet")
    s.key("ctrl+Return")
    s.key("Return")
    log.wait_posted(s, 2)
    # Keys are handled in order: had Ctrl+Return sent, the room would have
    # two lines, the second one empty.
    expect(log.set_texts()[1:] == [app.encode(markup.fade(app.DEFAULT_COLOURS, "not yet"))],
           "the room got %r" % log.set_texts()[1:])


def _pick_in_dialog(s, key):
    """Clicks the first basic colour of the colour dialog once it shows, then
    closes it with key."""
    dialog = s.find_window(app.COLOUR_DIALOG, 10)
    s.click(*app.basic_colour_cell(s, 0, 0))
    app.point_into(s, dialog)
    s.key(key)
    app.wait_hidden(s, app.COLOUR_DIALOG)


def _colour3_from(received):
    """Colour 3 as it shows, exactly, on the second character of a four-character line."""
    code = received.decode(app.CODE_PAGE).split('color="#')[2][:6]
    r, g, b = int(code[0:2], 16), int(code[2:4], 16), int(code[4:6], 16)
    return r | g << 8 | b << 16


@app.at_each_scale
def test_swatch_takes_the_chosen_colour_cancel_changes_nothing_and_minimize_hides(s):
    log, window = app.start_both(s)
    app.click_control(s, window, app.SWATCHES[2])
    _pick_in_dialog(s, "Escape")
    _type_line(s, window, "abcd")
    s.key("Return")
    log.wait_posted(s, 2)
    expect(log.set_texts()[-1] == app.encode(markup.fade(app.DEFAULT_COLOURS, "abcd")), "Cancel changed a colour")

    app.click_control(s, window, app.SWATCHES[2])
    _pick_in_dialog(s, "Return")
    _type_line(s, window, "abcd")
    s.key("Return")
    log.wait_posted(s, 3)
    received = log.set_texts()[-1]
    chosen = _colour3_from(received)
    expect(chosen != app.DEFAULT_COLOURS[2], "the chosen colour did not take effect")
    colours = list(app.DEFAULT_COLOURS)
    colours[2] = chosen
    expect(received == app.encode(markup.fade(colours, "abcd")), "markup with the new colour: %r" % received)
    s.screenshot("after-colour")
    app.click_control(s, window, app.CMD_MINIMIZE)
    app.wait_hidden(s, app.CAPTION)


def test_with_no_room_nothing_is_posted_and_the_line_is_kept(s):
    window = app.start_program(s)
    _type_line(s, window, "kept line")
    # The box holds the line; its painting may follow a moment later.
    s.wait_for(lambda: app.red_text_in_message_box(s, window, s.screenshot("typed")) > 0, 10,
               "the typed text to show in the message box")
    # The key after Return shows that Return was handled, and the line kept.
    s.key("Return", "exclam")
    s.wait_for(lambda: app.message_text(s, window) == "kept line!", 10, "the line to stay in the box")
    expect(s.program.poll() is None, "the program ended")


@app.on_the_desktop
@app.at_each_scale
def test_exit_asks_no_keeps_running_yes_announces_and_ends(s):
    log, window = app.start_both(s)
    app.click_control(s, window, app.CMD_EXIT)
    app.question_box(s)
    s.key("n")
    app.wait_hidden(s, app.PROGRAM_TITLE)
    # The program goes on: the next line is the first thing the room gets.
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_line("still here")
    log.wait_posted(s, 2)
    expect(log.set_texts()[1:] == [app.encode(markup.fade(app.DEFAULT_COLOURS, "still here"))],
           "after No the room got %r" % log.set_texts()[1:])

    app.click_control(s, window, app.CMD_EXIT)
    app.question_box(s)
    s.key("Return")  # Yes is the default button
    log.wait_posted(s, 3)
    expect(log.set_texts()[-1] == app.encode(markup.EXIT_ANNOUNCEMENT), "exit announcement: %r" % log.set_texts()[-1])
    expect(app.process_ended(s.program, 10), "the program did not end")
