"""Colfix as another program sees it over AT-SPI, shared by the accessibility
test and bench/lost-copies: the session told that a screen reader runs, and
Colfix's application found on the accessibility bus."""
import time

import pyatspi
from gi.repository import Gio, GLib


def announce_screen_reader():
    """Says on the session bus that a screen reader runs, as Orca does; this
    starts the accessibility bus, and Qt turns its AT-SPI bridge on for it.
    at-spi2-core 2.62 dropped ScreenReaderEnabled for IsEnabled alone, which
    Qt then reads."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def enable(name):
        bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                      GLib.Variant("(ssv)", ("org.a11y.Status", name, GLib.Variant("b", True))),
                      None, Gio.DBusCallFlags.NONE, -1, None)

    enable("IsEnabled")
    try:
        enable("ScreenReaderEnabled")
    except GLib.Error as error:
        if "No such property" not in error.message:
            raise


def colfix_application(pid, seconds=10):
    """The accessible application of process `pid` once it shows a window, or
    None if it has not within `seconds`."""
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.get_process_id() == pid \
                    and application.childCount > 0:
                return application
        time.sleep(0.1)
    return None
