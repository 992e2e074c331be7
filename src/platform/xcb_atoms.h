// What Colfix's own X11 code shares (the topmost switch, the clipboard keeper
// and its starter): xcb replies freed on their own, and atoms by name.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace colfix {

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

}  // namespace colfix
