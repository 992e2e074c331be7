// What the tests that talk to the X server share: the program's own xcb
// helpers, and names of atoms.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

#include "xcb_atoms.h"

using colfix::Atom;
using colfix::XcbReply;

// Empty if the server could not say.
inline std::string AtomName(xcb_connection_t* connection, xcb_atom_t atom) {
  const XcbReply<xcb_get_atom_name_reply_t> reply(
      xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr),
      &std::free);
  if (!reply) return {};
  return {xcb_get_atom_name_name(reply.get()),
          static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get()))};
}
