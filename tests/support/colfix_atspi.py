"""Colfix as another program sees it over AT-SPI, shared by the accessibility
test and bench/lost-copies: the session told that a screen reader runs, and
Colfix's application found on the accessibility bus."""
import sys
import time

import pyatspi
from gi.repository import Gio, GLib


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
        sys.exit("the accessibility bus did not take IsEnabled")


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
