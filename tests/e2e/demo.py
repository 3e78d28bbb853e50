#!/usr/bin/env python3
"""The headless half of the run command: the room and the program on the
private display, a line typed and sent as a person would, the markup the room
received printed, and a screenshot of both windows saved."""

import argparse
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import app  # noqa: E402
import harness  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--line", required=True)
    args = ap.parse_args()
    s = harness.Session(args.build, args.out, "run")
    try:
        log, window = app.start_both(s)
        app.click_control(s, window, app.TXT_MESSAGE)
        s.type_text(args.line, delay_ms=40)
        time.sleep(0.3)
        s.key("Return")
        log.wait_posted(s, 2)
        received = log.set_texts()[-1]
        print("The room received (%d bytes, %s):" % (len(received), app.CODE_PAGE))
        print(received.decode(app.CODE_PAGE))
        time.sleep(0.5)
        shot = s.screenshot("posted")
        shutil.copy(shot, os.path.join(args.out, "mirtane.png"))
        print("Screenshot: %s" % os.path.join(args.out, "mirtane.png"))
        return 0
    except harness.Failure as failure:
        print("run: %s" % failure, file=sys.stderr)
        return 1
    finally:
        s.stop()


if __name__ == "__main__":
    sys.exit(main())
