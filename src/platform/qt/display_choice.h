// Which display the window goes to, decided from the environment before Qt is
// started: the one place that reads DISPLAY, the Wayland variables and
// QT_QPA_PLATFORM.
#pragma once

namespace colfix {

// True when there is something Qt would connect to: an X server (DISPLAY), a
// Wayland compositor (WAYLAND_SOCKET, WAYLAND_DISPLAY, or the default
// wayland-0 socket in XDG_RUNTIME_DIR), or a chosen Qt platform that needs
// neither (offscreen, vnc, ...), which Qt then answers for. Without one Qt
// would abort the program with two lines of its own.
bool DisplayNamed();

// Where an X server is named (in a GNOME or KDE Wayland session that is
// XWayland) and the user has chosen no Qt platform, asks Qt for xcb first,
// because only X11 lets a window ask to stay above the others, with Wayland as
// the fallback should the X connection fail. Call before the application
// object is created.
void PreferX11WhereAvailable();

}  // namespace colfix
