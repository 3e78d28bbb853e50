#!/usr/bin/env python3
"""The headless half of the run command: the room and the program on the
private display, a line typed and sent as a person would, the markup the room
received printed, and a screenshot of both windows saved."""

import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import app  # noqa: E402
import harness  # noqa: E402


def room_beside_program(s, shot, room, window):
    """Pixels of room 1 above its input box and left of the program, which
    covers the rest: where the room's display shows the lines it posted."""
    rx, ry, _, _ = s.geometry(room)
    wx, _, _, _ = s.geometry(window)
    left, top = rx + app.ROOM_CHILD[0], ry + app.ROOM_CHILD[1]
    return s.screen_pixels(shot, left, top, wx - left, ry + app.ROOM_INPUT_BOX[1] - top)


def send_line(s, line, out):
    log, window = app.start_both(s)
    room = s.find_window(app.ROOM_TITLE)
    app.click_control(s, window, app.TXT_MESSAGE)
    s.type_text(line, delay_ms=40)
    s.wait_for(lambda: app.message_text(s, window) == app.held_text(line), 10, "the message box to hold the line")
    before = room_beside_program(s, s.screenshot("typed"), room, window)
    s.key("Return")
    log.wait_posted(s, 2)
    received = log.set_texts()[-1]
    print("The room received (%d bytes, %s):" % (len(received), app.CODE_PAGE))
    print(received.decode(app.CODE_PAGE))

    def both_show_it():
        # The message box empty, and the room showing the line (a line of
        # blanks shows nothing there).
        shot = s.screenshot("posted")
        if app.red_text_in_message_box(s, window, shot) == 0 and \
                (not line.strip() or room_beside_program(s, shot, room, window) != before):
            return shot
        return None
    shot = s.wait_for(both_show_it, 10, "the room to show the line and the message box to empty")
    shutil.copy(shot, os.path.join(out, "mirtane.png"))
    print("Screenshot: %s" % os.path.join(out, "mirtane.png"))


def main():
    ap = harness.parser()
    ap.add_argument("--line", required=True)
    args = ap.parse_args()
    return harness.run_main("run", "run", args, lambda s: send_line(s, args.line, args.out))


if __name__ == "__main__":
    sys.exit(main())
