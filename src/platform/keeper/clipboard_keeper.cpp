// colfix-clipboard-keeper: keeps the text Colfix last put on the X clipboard
// once Colfix has ended, where no clipboard manager took it over. Colfix starts
// it with the text on standard input in UTF-8 and in Latin-1 (Qt's STRING and
// TEXT; see keeper_input.h) and reads one byte from standard output once the
// keeper owns CLIPBOARD, and one more once the keeper has answered the first
// request for its TARGETS, which through XWayland is the compositor's. The
// keeper serves the text in the targets Qt offers for plain text, and ends when
// another program takes the clipboard, when the display goes away, or on
// SIGTERM (left at its default action).
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "keeper_input.h"
#include "xcb_atoms.h"

namespace {

using colfix::Atom;
using colfix::KeptText;
using colfix::XcbReply;

class Keeper {
 public:
  Keeper(xcb_connection_t* connection, KeptText text)
      : connection_(connection),
        text_(std::move(text)),
        // A ChangeProperty request's own fields take 24 bytes of the largest
        // request, and 4 more for its length when it is a big request.
        largestChunk_(xcb_get_maximum_request_length(connection) * 4 - 28),
        clipboard_(Atom(connection, "CLIPBOARD")),
        targets_(Atom(connection, "TARGETS")),
        multiple_(Atom(connection, "MULTIPLE")),
        timestamp_(Atom(connection, "TIMESTAMP")),
        incr_(Atom(connection, "INCR")),
        // Qt's plain-text targets, each giving the text's UTF-8 bytes with the
        // target as the type, then its own ones, in the order Qt lists them.
        offered_{Atom(connection, "text/plain"),
                 Atom(connection, "UTF8_STRING"),
                 XCB_ATOM_STRING,
                 Atom(connection, "TEXT"),
                 targets_,
                 multiple_,
                 timestamp_,
                 Atom(connection, "SAVE_TARGETS")} {}

  // Takes CLIPBOARD with a real time stamp, which ICCCM asks of an owner.
  bool TakeClipboard() {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    // Appending nothing to a property still tells us the server's time.
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window_, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
      const bool stamped = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
      if (stamped) ownedSince_ = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
      std::free(event);
      if (stamped) break;
    }
    if (ownedSince_ == XCB_CURRENT_TIME) return false;
    xcb_set_selection_owner(connection_, window_, clipboard_, ownedSince_);
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, clipboard_),
                                      nullptr),
        &std::free);
    return owner && owner->owner == window_;
  }

  // Serves requests until the clipboard is lost or the connection ends.
  void Serve() {
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
      const XcbReply<xcb_generic_event_t> owned(event, &std::free);
      switch (event->response_type & 0x7f) {
        case XCB_SELECTION_CLEAR:
          return;
        case XCB_SELECTION_REQUEST:
          Answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
          break;
        case XCB_PROPERTY_NOTIFY:
          Continue(*reinterpret_cast<xcb_property_notify_event_t*>(event));
          break;
        case XCB_DESTROY_NOTIFY:
          Forget(reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window);
          break;
        default:
          break;  // errors about requestors that went away meanwhile
      }
      xcb_flush(connection_);
    }
  }

 private:
  void Answer(const xcb_selection_request_event_t& request) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    // Obsolete clients name no property: the target then serves as one.
    const xcb_atom_t property = request.property == XCB_NONE ? request.target : request.property;
    const bool current = request.time == XCB_CURRENT_TIME || request.time >= ownedSince_;
    if (request.selection == clipboard_ && current) {
      const bool done = request.target == multiple_
                            ? ConvertEach(request.requestor, property)
                            : Convert(request.requestor, request.target, property);
      if (done) notify.property = property;
    }
    xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    if (notify.property != XCB_NONE && request.target == targets_) TellTargetsServed();
  }

  // A compositor's bridge reads TARGETS as the clipboard changes hands and
  // checks then which window has the focus, so Colfix keeps its window until
  // the answer is on its way. The round trip first makes sure the server has
  // passed the answer on; Colfix may no longer be listening.
  void TellTargetsServed() {
    if (colfix_ < 0) return;
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    const char served = '2';
    ::send(colfix_, &served, 1, MSG_NOSIGNAL);
    ::close(colfix_);
    colfix_ = -1;
  }

  // Writes `target` into the requestor's `property`; false if not offered.
  bool Convert(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property) {
    if (target == targets_) {
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor, property, XCB_ATOM_ATOM,
                          32, static_cast<uint32_t>(std::size(offered_)), offered_);
      return true;
    }
    if (target == timestamp_) {
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor, property, XCB_ATOM_INTEGER,
                          32, 1, &ownedSince_);
      return true;
    }
    const std::string* const bytes = Bytes(target);
    if (bytes == nullptr) return false;
    if (bytes->size() <= largestChunk_) {
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor, property, target, 8,
                          static_cast<uint32_t>(bytes->size()), bytes->data());
      return true;
    }
    // Too long for one request: INCR, one chunk each time the requestor has
    // deleted the property, then an empty one to end it.
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, requestor, XCB_CW_EVENT_MASK, &mask);
    const auto size = static_cast<uint32_t>(bytes->size());
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor, property, incr_, 32, 1,
                        &size);
    transfers_[{requestor, property}] = Transfer{target, 0};
    return true;
  }

  // MULTIPLE: the property lists (target, property) pairs; those that cannot
  // be converted get None as their property, as ICCCM asks.
  bool ConvertEach(xcb_window_t requestor, xcb_atom_t property) {
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, requestor, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32) return false;
    auto* pairs = static_cast<xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 8;
    bool refused = false;
    for (int i = 0; i < count; ++i) {
      if (pairs[2 * i + 1] == XCB_NONE || !Convert(requestor, pairs[2 * i], pairs[2 * i + 1])) {
        pairs[2 * i + 1] = XCB_NONE;
        refused = true;
      }
    }
    if (refused) {
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor, property, reply->type, 32,
                          static_cast<uint32_t>(2 * count), pairs);
    }
    return true;
  }

  void Continue(const xcb_property_notify_event_t& event) {
    if (event.state != XCB_PROPERTY_DELETE) return;
    const auto found = transfers_.find({event.window, event.atom});
    if (found == transfers_.end()) return;
    Transfer& transfer = found->second;
    const std::string& bytes = *Bytes(transfer.target);
    const std::size_t chunk = std::min(largestChunk_, bytes.size() - transfer.sent);
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, event.window, event.atom,
                        transfer.target, 8, static_cast<uint32_t>(chunk),
                        bytes.data() + transfer.sent);
    transfer.sent += chunk;
    if (chunk == 0) transfers_.erase(found);
  }

  // The bytes a plain-text target carries: UTF-8, or Latin-1 for the two old
  // ones; nullptr for any other target.
  const std::string* Bytes(xcb_atom_t target) const {
    const auto* end = offered_ + kTextTargets;
    const auto* found = std::find(offered_, end, target);
    if (found == end) return nullptr;
    return target == XCB_ATOM_STRING || target == offered_[3] ? &text_.latin1 : &text_.utf8;
  }

  void Forget(xcb_window_t requestor) {
    std::erase_if(transfers_,
                  [requestor](const auto& entry) { return entry.first.first == requestor; });
  }

  struct Transfer {
    xcb_atom_t target;
    std::size_t sent;
  };

  static constexpr std::size_t kTextTargets = 4;
  xcb_connection_t* connection_;
  const KeptText text_;
  const std::size_t largestChunk_;
  const xcb_atom_t clipboard_, targets_, multiple_, timestamp_, incr_;
  const xcb_atom_t offered_[8];
  int colfix_ = STDOUT_FILENO;  // until Colfix has heard that TARGETS were served
  xcb_window_t window_ = XCB_WINDOW_NONE;
  xcb_timestamp_t ownedSince_ = XCB_CURRENT_TIME;
  // Incremental transfers under way, by requestor window and property.
  std::map<std::pair<xcb_window_t, xcb_atom_t>, Transfer> transfers_;
};

}  // namespace

int main() {
  std::optional<KeptText> text = colfix::TakeTextFromColfix();
  if (!text) return 1;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) return 1;
  Keeper keeper(connection, std::move(*text));
  if (!keeper.TakeClipboard() || !colfix::TellColfixClipboardTaken()) return 1;
  keeper.Serve();
  xcb_disconnect(connection);
  return 0;
}
