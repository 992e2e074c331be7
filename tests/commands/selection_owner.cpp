// Test helper: prints the window that owns an X selection (such as CLIPBOARD
// or CLIPBOARD_MANAGER) as 0x..., or "none". xclip cannot name arbitrary
// selections, so the tests ask through this.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SELECTION\n", argv[0]);
    return 2;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "cannot connect to the X server\n");
    return 1;
  }
  const auto nameLength = static_cast<uint16_t>(std::strlen(argv[1]));
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, nameLength, argv[1]),
                            nullptr),
      &std::free);
  const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
      atom ? xcb_get_selection_owner_reply(connection,
                                           xcb_get_selection_owner(connection, atom->atom), nullptr)
           : nullptr,
      &std::free);
  xcb_disconnect(connection);
  if (!owner) return 1;
  if (owner->owner == XCB_WINDOW_NONE) {
    std::puts("none");
  } else {
    std::printf("0x%x\n", owner->owner);
  }
  return 0;
}
