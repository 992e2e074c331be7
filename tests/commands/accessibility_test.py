#!/usr/bin/python3
# What a screen reader finds in Colfix's window: the accessibility tree read
# over AT-SPI from this separate process, in order. Runs on the test's X
# display inside a private D-Bus session (dbus-run-session); expects COLFIX.
import os
import subprocess
import sys

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from colfix_atspi import announce_screen_reader, colfix_application  # noqa: E402

# depth | role | name, in the order a screen reader walks the tree. Roles are
# compared as AT-SPI's constants: their printed names change between releases
# (a push button is "push button" in at-spi2-core 2.46, "button" in 2.56).
EXPECTED = [
    (0, pyatspi.ROLE_FRAME, "Colfix"),
    (1, pyatspi.ROLE_PANEL, "Paste the service reference in the textfield"),
    (2, pyatspi.ROLE_CHECK_BOX, "Stay on top"),
    (2, pyatspi.ROLE_CHECK_BOX, "Automatic text copy to clipboard after paste"),
    (2, pyatspi.ROLE_TEXT, "Paste the service reference in the textfield"),
    (2, pyatspi.ROLE_PUSH_BUTTON, "Clear"),
    (1, pyatspi.ROLE_PUSH_BUTTON, "Exit"),
    (1, pyatspi.ROLE_IMAGE, "Colfix"),
]


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def walk(accessible, depth=0):
    yield depth, accessible.getRole(), accessible.name
    for index in range(accessible.childCount):
        yield from walk(accessible.getChildAtIndex(index), depth + 1)


def main():
    announce_screen_reader()
    colfix = subprocess.Popen([os.environ["COLFIX"]])
    try:
        application = colfix_application(colfix.pid)
        if application is None:
            fail("Colfix did not appear on the accessibility bus")
        windows = [application.getChildAtIndex(i) for i in range(application.childCount)]
        if len(windows) != 1:
            fail(f"{len(windows)} top-level objects, not the one window")
        found = list(walk(windows[0]))
    finally:
        colfix.terminate()
        status = colfix.wait(timeout=10)
    for row in found:
        print("  " * row[0] + f"{row[1].value_nick}: {row[2]!r}")
    if found != EXPECTED:
        fail(f"the tree is not as expected: {EXPECTED}")
    if status != 0:
        fail(f"Colfix ended with status {status}")
    print("accessibility: the tree is as expected")


main()
