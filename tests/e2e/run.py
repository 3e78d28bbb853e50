#!/usr/bin/env python3
"""Runs every test_* function of tests/e2e/test_*.py, each with a fresh
harness session, and ends with "e2e: N passed, M failed"."""

import importlib.util
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def main():
    ap = harness.parser()
    ap.add_argument("-k", default="", help="run only tests whose name contains this")
    ap.add_argument("--desktop", action="store_true",
                    help="run the tests a window manager or a tray host changes, with both on the display")
    args = ap.parse_args()
    if not os.environ.get("DISPLAY") or not os.environ.get("WINEPREFIX"):
        print("e2e: DISPLAY and WINEPREFIX must be set (the test command sets them)")
        print("e2e: 0 passed, 1 failed")
        return 1

    here = os.path.dirname(os.path.abspath(__file__))
    print("e2e: the program is %s" % (args.program or os.path.join(args.build, "bin", "m\u00edrt\u00e1n\u00e9.exe")),
          flush=True)
    desktop = None
    if args.desktop:
        # Wine manages the windows here, as on a user's desktop
        # (session_wine_manages_windows in scripts/lib/session.sh).
        desktop = harness.Desktop(args.out)
        print("e2e: with openbox and trayer on the display", flush=True)
    try:
        passed, failed = run_tests(args, here, desktop)
    finally:
        if desktop:
            desktop.stop()
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


def run_tests(args, here, desktop):
    passed = failed = 0
    for file in sorted(f for f in os.listdir(here) if f.startswith("test_") and f.endswith(".py")):
        found = importlib.util.spec_from_file_location(file[:-3], os.path.join(here, file))
        module = importlib.util.module_from_spec(found)
        found.loader.exec_module(module)
        for name in sorted(n for n in dir(module) if n.startswith("test_")):
            if args.k not in name or (desktop and not getattr(getattr(module, name), "desktop", False)):
                continue
            session = harness.Session(args.build, args.out, "%s.%s" % (file[:-3], name), args.program, desktop)
            start = time.time()
            try:
                getattr(module, name)(session)
                passed += 1
                print("PASS %s.%s (%.1f s)" % (file[:-3], name, time.time() - start), flush=True)
            except Exception:  # every failure is reported, the next test still runs
                failed += 1
                print("FAIL %s.%s (%.1f s)" % (file[:-3], name, time.time() - start), flush=True)
                traceback.print_exc()
                try:
                    session.screenshot("failure")
                except Exception:
                    pass
            finally:
                session.stop()
    return passed, failed


if __name__ == "__main__":
    sys.exit(main())
