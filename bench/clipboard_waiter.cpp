// Runs a command (a click, say) and prints how long after its start another
// client owned the X clipboard with text on it: the owner has changed and
// answers a request for its TARGETS with UTF8_STRING among them. The answer
// comes once the new owner's event loop runs again, so a program that takes
// the clipboard in steps within one handler (empty, then text) is timed to the
// end of that handler.
//
// Usage: clipboard_waiter COMMAND [ARG...]
// Prints: <milliseconds from the command's start until then>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(60);

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "clipboard_waiter: %s\n", message.c_str());
  std::exit(1);
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  if (!reply) Fail(std::string("cannot intern ") + name);
  return reply->atom;
}

xcb_window_t Owner(xcb_connection_t* connection, xcb_atom_t selection) {
  const Reply<xcb_get_selection_owner_reply_t> reply(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                    nullptr),
      &std::free);
  if (!reply) Fail("cannot ask for the clipboard's owner");
  return reply->owner;
}

struct Atoms {
  xcb_atom_t clipboard, targets, utf8, property;
};

// Whether the clipboard's owner answers TARGETS with UTF8_STRING before `deadline`.
bool OffersText(xcb_connection_t* connection, xcb_window_t requestor, const Atoms& atoms,
                Clock::time_point deadline) {
  xcb_convert_selection(connection, requestor, atoms.clipboard, atoms.targets, atoms.property,
                        XCB_CURRENT_TIME);
  xcb_flush(connection);
  while (Clock::now() < deadline) {
    std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(connection),
                                                                     &std::free);
    if (!event) {
      if (xcb_connection_has_error(connection)) Fail("lost the X connection");
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) continue;
    const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
    if (notify->property == XCB_ATOM_NONE) return false;
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 1, requestor, atoms.property, XCB_ATOM_ATOM, 0, 1024),
            nullptr),
        &std::free);
    if (!reply) return false;
    const auto* offered = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i) {
      if (offered[i] == atoms.utf8) return true;
    }
    return false;
  }
  Fail("the clipboard's owner did not answer for its TARGETS in time");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Fail("usage: clipboard_waiter COMMAND [ARG...]");
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) Fail("cannot open the X display");
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t requestor = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, requestor, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  const Atoms atoms{Atom(connection, "CLIPBOARD"), Atom(connection, "TARGETS"),
                    Atom(connection, "UTF8_STRING"), Atom(connection, "COLFIX_BENCH_TARGETS")};
  const xcb_window_t before = Owner(connection, atoms.clipboard);

  const auto start = Clock::now();
  const pid_t child = fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }
  const auto deadline = start + kTimeout;
  while (true) {
    if (Clock::now() >= deadline) Fail("no other client took the clipboard with text in time");
    const xcb_window_t owner = Owner(connection, atoms.clipboard);
    if (owner != before && owner != XCB_WINDOW_NONE &&
        OffersText(connection, requestor, atoms, deadline)) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  const std::chrono::duration<double, std::milli> took = Clock::now() - start;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    Fail(std::string("the command failed: ") + argv[1]);
  }
  xcb_disconnect(connection);
  std::printf("%.1f\n", took.count());
  return 0;
}
