"""The window's outline: the skin's, the one read back from the window, and
the one Wine 10.0 shows for it."""

import os
import subprocess

from app import CAPTION
from harness import Failure

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
