"""The main window as a person sees it: the skinned window centred on the
grey desktop with its controls on the skin, and typing into the message box."""

import app
import markup
from app import expect


def is_red(rgb):
    r, g, b = rgb
    return r >= 60 and r > g + 40 and r > b + 40


def _start(s):
    window = app.start_program(s)
    app.wait_painted(s, window)
    return window


@app.on_the_desktop
def test_window_opens_centred_with_its_skin_and_controls(s):
    x, y, w, h = s.geometry(_start(s))
    expect((w, h) == app.WINDOW_SIZE, "window is %dx%d, not %dx%d" % (w, h, *app.WINDOW_SIZE))
    cx, cy = app.centred_origin(s)
    expect(abs(x - cx) <= 1 and abs(y - cy) <= 1, "window at %d,%d is not centred" % (x, y))
    shot = s.screenshot("window")
    px = lambda dx, dy: s.pixel(shot, x + dx, y + dy)  # noqa: E731
    expect(px(-5, -5) == app.GREY, "the desktop around the window is not grey")
    for dx, dy in ((20, 60), (120, 95), (150, 115), (205, 100)):
        expect(is_red(px(dx, dy)), "no red skin at %d,%d: %r" % (dx, dy, px(dx, dy)))
    # Outside the skin the window is black, or the desktop once it is shaped.
    for dx, dy in ((2, 2), (125, 20), (300, 250)):
        expect(px(dx, dy) in ((0, 0, 0), app.GREY), "unexpected colour at %d,%d" % (dx, dy))
    expect(px(*app.TXT_MESSAGE) == (255, 255, 255), "txtMessage is not a white box on the skin")
    for (sx, sy), colour in zip(app.SWATCHES, app.DEFAULT_COLOURS):
        expect(px(sx, sy) == markup.components(colour), "swatch at %d shows %r" % (sx, px(sx, sy)))


def test_typing_into_the_message_box_shows_red_text(s):
    window = _start(s)
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_text("h\u00e9llo w\u00f8rld", delay_ms=40)
    s.wait_for(lambda: app.red_text_in_message_box(s, window, s.screenshot("typed")) > 20, 10,
               "red text in txtMessage after typing")
