"""The main window as a person sees it: the skinned window centred on the
grey desktop with its controls on the skin, and typing into the message box."""

import subprocess

from harness import check

TITLE = "m\u00edrt\u00e1n\u00e9 \u00b7 b\u00fd grelvin"
PROGRAM = "m\u00edrt\u00e1n\u00e9.exe"


def is_red(rgb):
    r, g, b = rgb
    return r >= 60 and r > g + 40 and r > b + 40


def region_pixels(path, x, y, w, h):
    """Every (r, g, b) of a rectangle of a screenshot, read in one go."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    return [tuple(out[i:i + 3]) for i in range(0, len(out) - 2, 3)]


def start(s):
    s.wine(PROGRAM)
    win = s.find_window(TITLE)
    x, y, w, h = s.wait_for(lambda: s.geometry(win), what="the window's geometry")
    # Painted once the message box shows white on the skin.
    s.wait_for(lambda: s.pixel(s.screenshot("painting"), x + 40 + 84, y + 72 + 8) == (255, 255, 255), 10,
               "the window to paint")
    return win, x, y, w, h


def test_window_opens_centred_with_its_skin_and_controls(s):
    win, x, y, w, h = start(s)
    check((w, h) == (367, 282), "window is %dx%d, not 367x282" % (w, h))
    check(abs(x - (1280 - 367) // 2) <= 1 and abs(y - (800 - 282) // 2) <= 1,
          "window at %d,%d is not centred" % (x, y))
    shot = s.screenshot("window")
    px = lambda dx, dy: s.pixel(shot, x + dx, y + dy)  # noqa: E731
    check(px(-5, -5) == (128, 128, 128), "the desktop around the window is not grey")
    for dx, dy in ((20, 60), (120, 95), (150, 115), (205, 100)):
        check(is_red(px(dx, dy)), "no red skin at %d,%d: %r" % (dx, dy, px(dx, dy)))
    # Outside the skin the window is black, or the desktop once it is shaped.
    for dx, dy in ((2, 2), (125, 20), (300, 250)):
        check(px(dx, dy) in ((0, 0, 0), (128, 128, 128)), "unexpected colour at %d,%d" % (dx, dy))
    check(px(40 + 84, 72 + 8) == (255, 255, 255), "txtMessage is not a white box on the skin")
    swatches = {32: (255, 0, 0), 56: (0, 0, 255), 80: (224, 224, 224), 104: (128, 128, 255), 128: (0, 0, 0)}
    for left, rgb in swatches.items():
        check(px(left + 8, 104 + 8) == rgb, "swatch at %d shows %r" % (left, px(left + 8, 104 + 8)))


def test_typing_into_the_message_box_shows_red_text(s):
    win, x, y, w, h = start(s)
    s.click(x + 40 + 84, y + 72 + 8)
    s.type_text("h\u00e9llo w\u00f8rld", delay_ms=40)

    def red_pixels():
        # Inside the box, away from its border: red text on white.
        pixels = region_pixels(s.screenshot("typed"), x + 42, y + 74, 120, 13)
        return sum(1 for r, g, b in pixels if r > 150 and g < 110 and b < 110)
    s.wait_for(lambda: red_pixels() > 20, 10, "red text in txtMessage after typing")
