// Test helper: listens on the root window, as a launcher showing startup
// feedback does, and prints the first complete startup-notification message
// ("remove: ID=..."). Prints "listening" once nothing sent after it can be missed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "xcb_tools.h"

int main() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    std::fprintf(stderr, "cannot connect to the X server\n");
    return 1;
  }
  // Messages arrive in 20-byte pieces: the first under _BEGIN, the rest after
  // it, up to the piece holding the terminating NUL.
  const xcb_atom_t begin = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
  const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  // Checked, so the selection is in force before "listening" is printed.
  if (xcb_generic_error_t* error = xcb_request_check(
          connection,
          xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask))) {
    std::free(error);
    return 1;
  }
  std::puts("listening");
  std::fflush(stdout);

  std::string message;
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
    const XcbReply<xcb_generic_event_t> owned(event, &std::free);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) continue;
    const auto* piece = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (piece->type == begin) message.clear();
    if (piece->type != begin && piece->type != more) continue;
    const char* data = reinterpret_cast<const char*>(piece->data.data8);
    const std::size_t length = strnlen(data, sizeof piece->data.data8);
    message.append(data, length);
    if (length < sizeof piece->data.data8) {
      std::puts(message.c_str());
      xcb_disconnect(connection);
      return 0;
    }
  }
  xcb_disconnect(connection);
  return 1;
}
