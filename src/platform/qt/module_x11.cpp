// The topmost switch on X11: asks the window manager to add or remove the
// "above" state (EWMH _NET_WM_STATE_ABOVE). This is written against xcb because
// Qt offers no way to change a shown window's stacking hint in place: setting
// Qt::WindowStaysOnTopHint through the widget hides and re-creates the window.
#include <xcb/xcb.h>
#include <QGuiApplication>

#include <cstdlib>

#include "module_x11.h"
#include "xcb_atoms.h"

namespace colfix {
namespace {

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
  const XcbReply<xcb_get_geometry_reply_t> reply(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
      &std::free);
  if (!reply) return XCB_WINDOW_NONE;
  return reply->root;
}

}  // namespace

void X11Module::SetWindowOnTop(WindowHandle hWnd, bool onTop) {
  // Elsewhere (a Wayland session without XWayland) there is no such request:
  // the window keeps its stacking, as with any failed call.
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || hWnd == 0) return;
  xcb_connection_t* connection = x11->connection();

  const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
  const xcb_atom_t above = Atom(connection, "_NET_WM_STATE_ABOVE");
  if (state == XCB_ATOM_NONE || above == XCB_ATOM_NONE) return;

  constexpr uint32_t kRemove = 0;
  constexpr uint32_t kAdd = 1;
  constexpr uint32_t kSourceApplication = 1;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(hWnd);
  message.type = state;
  message.data.data32[0] = onTop ? kAdd : kRemove;
  message.data.data32[1] = above;
  message.data.data32[3] = kSourceApplication;

  // The request goes to the root of the window's own screen, which need not be
  // the first screen of the display.
  const xcb_window_t root = RootOf(connection, message.window);
  if (root == XCB_WINDOW_NONE) return;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

}  // namespace colfix
