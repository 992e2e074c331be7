// Chooses X11 over native Wayland by default, because only X11 lets a window
// ask to stay above the others.
#pragma once

namespace colfix {

// Where an X server is reachable (DISPLAY set, which in a GNOME or KDE Wayland
// session means XWayland) and the user has not chosen a Qt platform, asks Qt
// for xcb first, with Wayland as the fallback should the X connection fail.
// Call before the application object is created.
void PreferX11WhereAvailable();

}  // namespace colfix
