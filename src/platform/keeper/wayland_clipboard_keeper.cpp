// colfix-wayland-clipboard-keeper: keeps the text Colfix last put on the
// Wayland clipboard once Colfix, run as a native Wayland client, has ended.
// Only a data-control protocol (ext-data-control-v1, else wlr-data-control)
// lets a client with no window set the clipboard, so where the compositor
// offers neither it ends at once. Colfix hands it the text as it does the X
// keeper (keeper_input.h). It serves the text as Qt's Wayland clipboard does,
// and ends when another program copies, when the compositor goes away, or on
// SIGTERM (left at its default action).
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "data_control.h"
#include "keeper_input.h"

namespace {

using colfix::KeptText;

// The types Qt 6.4's Wayland clipboard offers for plain text, each with the
// text's UTF-8 bytes.
constexpr const char* kMimeTypes[] = {"text/plain", "text/plain;charset=utf-8"};

// Serves the text to readers, each through a pipe of its own, without waiting
// on any one of them: a reader that stops reading holds up no other.
class Server {
 public:
  explicit Server(std::string utf8) : utf8_(std::move(utf8)) {}

  void Send(const char* mimeType, int fd) {
    const bool offered =
        std::any_of(std::begin(kMimeTypes), std::end(kMimeTypes),
                    [mimeType](const char* type) { return std::strcmp(type, mimeType) == 0; });
    if (offered && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) == 0) {
      transfers_.push_back({fd, 0});
    } else {
      ::close(fd);
    }
  }

  void Cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }

  // Dispatches the compositor's events and writes to the readers until another
  // program copies or the connection ends.
  void Serve(wl_display* display) {
    std::vector<pollfd> waits;
    for (;;) {
      while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return;
      }
      if (cancelled_) {
        wl_display_cancel_read(display);
        return;
      }
      waits.assign(1, {wl_display_get_fd(display), POLLIN, 0});
      for (const Transfer& transfer : transfers_) waits.push_back({transfer.fd, POLLOUT, 0});
      if ((wl_display_flush(display) < 0 && errno != EAGAIN) ||
          (::poll(waits.data(), waits.size(), -1) < 0 && errno != EINTR)) {
        wl_display_cancel_read(display);
        return;
      }
      if (waits[0].revents != 0) {
        if (wl_display_read_events(display) < 0) return;
      } else {
        wl_display_cancel_read(display);
      }
      // Transfers that `send` adds here come after those polled.
      if (wl_display_dispatch_pending(display) < 0) return;
      for (std::size_t i = 1; i < waits.size(); ++i) {
        if (waits[i].revents != 0) Continue(transfers_[i - 1]);
      }
      std::erase_if(transfers_, [](const Transfer& transfer) { return transfer.fd < 0; });
    }
  }

 private:
  struct Transfer {
    int fd;  // -1 once done
    std::size_t sent;
  };

  void Continue(Transfer& transfer) {
    const ssize_t wrote =
        ::write(transfer.fd, utf8_.data() + transfer.sent, utf8_.size() - transfer.sent);
    if (wrote > 0) transfer.sent += static_cast<std::size_t>(wrote);
    const bool again = wrote < 0 && (errno == EAGAIN || errno == EINTR);
    if (transfer.sent == utf8_.size() || (wrote < 0 && !again)) {
      ::close(transfer.fd);
      transfer.fd = -1;
    }
  }

  const std::string utf8_;
  std::vector<Transfer> transfers_;
  bool cancelled_ = false;
};

using colfix::data_control::Ext;
using colfix::data_control::Wlr;

// The first seat, the one Qt's clipboard uses, and the data-control managers.
struct Globals {
  wl_seat* seat = nullptr;
  Ext::Manager* ext = nullptr;
  Wlr::Manager* wlr = nullptr;
};

void Announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto& globals = *static_cast<Globals*>(data);
  const auto bind = [&](auto*& bound, const wl_interface* wanted) {
    if (bound == nullptr && std::strcmp(interface, wanted->name) == 0) {
      bound = static_cast<std::remove_reference_t<decltype(bound)>>(
          wl_registry_bind(registry, name, wanted, 1));
    }
  };
  bind(globals.seat, &wl_seat_interface);
  bind(globals.ext, Ext::kInterface);
  bind(globals.wlr, Wlr::kInterface);
}

void Removed(void*, wl_registry*, uint32_t) {}

// The protocol bound, or "none", as a line added to the file that
// COLFIX_WAYLAND_KEEPER_REPORT names, when it is set: the tests check it
// against what the compositor offers. Nothing else could show it, the
// keeper's standard error being /dev/null and its output Colfix's.
void ReportBound(const char* protocol) {
  const char* path = std::getenv("COLFIX_WAYLAND_KEEPER_REPORT");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* report = std::fopen(path, "ae")) {
    // fputs, not fprintf: no fortified call, as the package's lintian overrides say.
    std::fputs(protocol, report);
    std::fputc('\n', report);
    std::fclose(report);
  }
}

// Sets the clipboard and, once the compositor has it, tells Colfix and serves.
template <class Protocol>
int Keep(wl_display* display, typename Protocol::Manager* manager, wl_seat* seat,
         std::string utf8) {
  Server server(std::move(utf8));
  static constexpr typename Protocol::SourceListener kListener{
      [](void* data, typename Protocol::Source*, const char* mimeType, int32_t fd) {
        static_cast<Server*>(data)->Send(mimeType, fd);
      },
      [](void* data, typename Protocol::Source*) { static_cast<Server*>(data)->Cancel(); }};
  typename Protocol::Source* source = Protocol::CreateSource(manager);
  for (const char* type : kMimeTypes) Protocol::Offer(source, type);
  Protocol::Listen(source, &kListener, &server);
  Protocol::SetSelection(Protocol::GetDevice(manager, seat), source);
  if (wl_display_roundtrip(display) < 0 || server.cancelled() ||
      !colfix::TellColfixClipboardTaken()) {
    return 1;
  }
  server.Serve(display);
  return 0;
}

}  // namespace

int main() {
  std::optional<KeptText> text = colfix::TakeTextFromColfix();
  if (!text) return 1;
  // Qt's Wayland clipboard serves UTF-8 alone: the Latin-1 copy is not kept.
  std::string utf8 = std::move(text->utf8);
  text.reset();
  // A reader that closes its end early costs that reader its text, not us our life.
  std::signal(SIGPIPE, SIG_IGN);
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return 1;
  Globals globals;
  static constexpr wl_registry_listener kRegistryListener{&Announced, &Removed};
  wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
  int status = 1;
  const bool listed = wl_display_roundtrip(display) >= 0 && globals.seat != nullptr;
  if (listed && globals.ext != nullptr) {
    ReportBound("ext-data-control-v1");
    status = Keep<Ext>(display, globals.ext, globals.seat, std::move(utf8));
  } else if (listed && globals.wlr != nullptr) {
    ReportBound("wlr-data-control");
    status = Keep<Wlr>(display, globals.wlr, globals.seat, std::move(utf8));
  } else {
    ReportBound("none");
  }
  wl_display_disconnect(display);
  return status;
}
