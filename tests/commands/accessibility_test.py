#!/usr/bin/python3
# What a screen reader finds in Colfix's window: the accessibility tree read
# over AT-SPI from this separate process, in order. Runs on the test's X
# display inside a private D-Bus session (dbus-run-session); expects COLFIX.
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

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


def announce_screen_reader():
    """Turns accessibility on over the session bus, as a screen reader does,
    which starts the accessibility bus that Qt's AT-SPI bridge then joins.
    org.a11y.Status's IsEnabled is the switch both at-spi2-core 2.46 and 2.62
    take (2.62 has no ScreenReaderEnabled any more); read back, it must hold."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def status(method, *arguments):
        signature = "(ssv)" if method == "Set" else "(ss)"
        return bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                             method, GLib.Variant(signature, ("org.a11y.Status", *arguments)),
                             None, Gio.DBusCallFlags.NONE, -1, None)

    status("Set", "IsEnabled", GLib.Variant("b", True))
    if not status("Get", "IsEnabled").unpack()[0]:
        fail("the accessibility bus did not take IsEnabled")


def colfix_application(pid, seconds=10):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.get_process_id() == pid \
                    and application.childCount > 0:
                return application
        time.sleep(0.1)
    fail("Colfix did not appear on the accessibility bus")


def walk(accessible, depth=0):
    yield depth, accessible.getRole(), accessible.name
    for index in range(accessible.childCount):
        yield from walk(accessible.getChildAtIndex(index), depth + 1)


def main():
    announce_screen_reader()
    colfix = subprocess.Popen([os.environ["COLFIX"]])
    try:
        application = colfix_application(colfix.pid)
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
