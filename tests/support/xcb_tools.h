// What the tests that talk to the X server share: xcb replies freed on their
// own, and atoms by name and names of atoms.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

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

// Empty if the server could not say.
inline std::string AtomName(xcb_connection_t* connection, xcb_atom_t atom) {
  const XcbReply<xcb_get_atom_name_reply_t> reply(
      xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr),
      &std::free);
  if (!reply) return {};
  return {xcb_get_atom_name_name(reply.get()),
          static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get()))};
}
