// Whether there is a display to show the window on at all, asked before Qt is:
// without one Qt aborts the program with two lines of its own.
#pragma once

namespace colfix {

// True when the environment names an X server (DISPLAY) or a Wayland
// compositor (WAYLAND_DISPLAY), or chooses a Qt platform that needs neither
// (offscreen, vnc, ...), which Qt then answers for.
bool DisplayNamed();

}  // namespace colfix
