// What the X test helpers share: xcb replies freed on their own, and atoms by name.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

template <class Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// XCB_ATOM_NONE if the server could not say.
inline xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const XcbReply<xcb_intern_atom_reply_t> atom(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}
