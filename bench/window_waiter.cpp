// Starts a program, prints how long its top-level window took to be mapped,
// closes it the way a window manager's close box does (WM_DELETE_WINDOW) and
// prints its peak resident memory. Run on an X display with no window manager,
// so the program's own window is the child of the root that gets mapped.
//
// Usage: window_waiter [--settle-ms N] PROGRAM [ARG...]
// Prints: <milliseconds until mapped> <peak RSS in KiB>
#include <poll.h>
#include <sys/resource.h>
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
constexpr auto kMapTimeout = std::chrono::seconds(20);
constexpr auto kExitTimeout = std::chrono::seconds(10);

[[noreturn]] void Fail(const std::string& message, pid_t child = 0) {
  std::fprintf(stderr, "window_waiter: %s\n", message.c_str());
  if (child > 0) kill(child, SIGKILL);
  std::exit(1);
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const auto cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  if (!reply) Fail(std::string("cannot intern ") + name);
  return reply->atom;
}

// The _NET_WM_PID a client put on its window, or 0.
pid_t PidOf(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t netWmPid) {
  const auto cookie = xcb_get_property(connection, 0, window, netWmPid, XCB_ATOM_CARDINAL, 0, 1);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (!reply || xcb_get_property_value_length(reply.get()) != 4) return 0;
  uint32_t pid = 0;
  std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
  return static_cast<pid_t>(pid);
}

pid_t Launch(char** argv) {
  const pid_t child = fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    execvp(argv[0], argv);
    std::perror(argv[0]);
    _exit(127);
  }
  return child;
}

void FailIfExited(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, WNOHANG) == child) Fail("the program ended before showing a window");
}

// Waits for the child's own top-level window to be mapped and returns it.
xcb_window_t AwaitMappedWindow(xcb_connection_t* connection, pid_t child, xcb_atom_t netWmPid) {
  const auto deadline = Clock::now() + kMapTimeout;
  pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
  while (Clock::now() < deadline) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
      if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
      const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
      // Menus and tooltips are override-redirect; the main window is not.
      if (!map->override_redirect && PidOf(connection, map->window, netWmPid) == child) {
        return map->window;
      }
    }
    if (xcb_connection_has_error(connection)) Fail("lost the X connection", child);
    FailIfExited(child);
    poll(&descriptor, 1, 10);
  }
  Fail("no window was mapped in time", child);
}

void SendDeleteWindow(xcb_connection_t* connection, xcb_window_t window) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = Atom(connection, "WM_PROTOCOLS");
  message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

// Waits for the child to end by itself and returns its peak RSS in KiB.
long AwaitExitPeakKib(pid_t child) {
  const auto deadline = Clock::now() + kExitTimeout;
  while (Clock::now() < deadline) {
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, WNOHANG, &usage) == child) {
      if (!WIFEXITED(status)) Fail("the program did not end normally");
      return usage.ru_maxrss;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Fail("the program did not end after WM_DELETE_WINDOW", child);
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  long settleMs = 500;  // lets the first paint happen before the window is closed
  if (argc > 2 && std::strcmp(argv[1], "--settle-ms") == 0) {
    settleMs = std::strtol(argv[2], nullptr, 10);
    first = 3;
  }
  if (first >= argc) Fail("usage: window_waiter [--settle-ms N] PROGRAM [ARG...]");

  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) Fail("cannot open the X display");
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(
      connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
  const xcb_atom_t netWmPid = Atom(connection, "_NET_WM_PID");

  const auto start = Clock::now();
  const pid_t child = Launch(argv + first);
  const xcb_window_t window = AwaitMappedWindow(connection, child, netWmPid);
  const std::chrono::duration<double, std::milli> mapped = Clock::now() - start;

  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  SendDeleteWindow(connection, window);
  const long peakKib = AwaitExitPeakKib(child);
  xcb_disconnect(connection);
  std::printf("%.1f %ld\n", mapped.count(), peakKib);
  return 0;
}
