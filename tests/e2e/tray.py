"""The program's tray icon: in the desktop's tray host or in Wine's own tray
window, and the window brought back from it."""

from app import CAPTION, top_level_order, wait_shown


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
