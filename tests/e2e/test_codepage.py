"""A system whose ANSI code page is UTF-8 ("Use Unicode UTF-8 for worldwide
language support"): the program and the room, built to run there, pass every
character as its UTF-8 bytes. Windows refuses the conversion flags a
one-byte code page takes for UTF-8, so a program that kept them would post
nothing there."""

import app
import markup
from app import expect

PROGRAM_UTF8 = "mirtane-utf8.exe"
ROOM_UTF8 = "chatroom-utf8.exe"


def test_on_a_utf8_system_the_announcement_and_a_line_arrive_as_utf8_bytes(s):
    log = app.start_room(s, exe=ROOM_UTF8)
    ready = log.lines()[0]
    expect(ready.endswith(" cp=65001"), "the room does not run in UTF-8: %r" % ready)
    s.program_file = PROGRAM_UTF8
    window = app.start_program(s)
    log.wait_posted(s, 1)
    expect(log.set_texts()[0] == markup.START_ANNOUNCEMENT.encode("utf-8"),
           "the announcement arrived as %r" % log.set_texts()[0][:80])

    text = "A\u221eB\u0142C"
    app.paste(s, window, text)
    s.key("Return")
    log.wait_posted(s, 2)
    want = markup.fade(app.DEFAULT_COLOURS, text).encode("utf-8")
    expect(log.set_texts()[-1] == want, "the line arrived as %r, not %r" % (log.set_texts()[-1], want))
