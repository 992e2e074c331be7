// Test helper for X selections (such as CLIPBOARD or CLIPBOARD_MANAGER), which
// xclip cannot name:
//   selection_owner SELECTION         prints the window that owns it as 0x...,
//                                     or "none";
//   selection_owner --silent SELECTION owns it and never answers, printing
//                                     the target of each request as it comes,
//                                     like a clipboard manager that hangs.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "xcb_tools.h"

namespace {

// Empty if the server could not say.
std::optional<xcb_window_t> Owner(xcb_connection_t* connection, xcb_atom_t selection) {
  const XcbReply<xcb_get_selection_owner_reply_t> owner(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                    nullptr),
      &std::free);
  if (!owner) return std::nullopt;
  return owner->owner;
}

int HoldSilently(xcb_connection_t* connection, xcb_atom_t selection) {
  const xcb_window_t window = xcb_generate_id(connection);
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_set_selection_owner(connection, window, selection, XCB_CURRENT_TIME);
  if (Owner(connection, selection) != window) {
    std::fprintf(stderr, "could not take the selection\n");
    return 1;
  }
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
    if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
      const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
      std::printf("%s\n", AtomName(connection, request->target).c_str());
      std::fflush(stdout);
    }
    std::free(event);
  }
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool silent = argc == 3 && std::strcmp(argv[1], "--silent") == 0;
  if (argc != 2 && !silent) {
    std::fprintf(stderr, "usage: %s [--silent] SELECTION\n", argv[0]);
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "cannot connect to the X server\n");
    return 1;
  }
  const xcb_atom_t selection = Atom(connection, argv[argc - 1]);
  if (silent) return HoldSilently(connection, selection);
  const std::optional<xcb_window_t> owner = Owner(connection, selection);
  xcb_disconnect(connection);
  if (!owner) return 1;
  if (*owner == XCB_WINDOW_NONE) {
    std::puts("none");
  } else {
    std::printf("0x%x\n", *owner);
  }
  return 0;
}
