// Ending the program as a native Wayland client without Qt's teardown of the
// Wayland connection, which can hang there (see wayland_exit.cpp).
#pragma once

namespace colfix {

// As a native Wayland client, ends the process now with `status`; elsewhere
// returns and lets the application object be destroyed as usual.
void EndNowOnWayland(int status);

}  // namespace colfix
