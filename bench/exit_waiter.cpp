// Runs a command (the click on Exit, say) and prints how long after its start a
// program's X window went away (unmapped or destroyed) and how long until the
// program's process was gone (ended, a zombie at most).
//
// Usage: exit_waiter PID WINDOW COMMAND [ARG...]
// Prints: <milliseconds until the window went> <milliseconds until the process went>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
constexpr auto kTimeout = std::chrono::seconds(30);

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "exit_waiter: %s\n", message.c_str());
  std::exit(1);
}

// A process that has ended stays a zombie until its parent waits for it.
bool Running(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const auto state = line.rfind(')');
  return state != std::string::npos && state + 2 < line.size() && line[state + 2] != 'Z';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) Fail("usage: exit_waiter PID WINDOW COMMAND [ARG...]");
  const pid_t program = static_cast<pid_t>(std::strtol(argv[1], nullptr, 10));
  const auto window = static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0));
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) Fail("cannot open the X display");
  const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
          xcb_request_check(connection, xcb_change_window_attributes_checked(
                                            connection, window, XCB_CW_EVENT_MASK, &mask)),
          &std::free);
      error) {
    Fail("cannot watch window " + std::string(argv[2]));
  }
  if (!Running(program)) Fail("the program is not running");

  const auto start = Clock::now();
  const pid_t child = fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    execvp(argv[3], argv + 3);
    std::perror(argv[3]);
    _exit(127);
  }
  std::optional<Milliseconds> windowGone, processGone;
  while (!windowGone || !processGone) {
    if (Clock::now() - start > kTimeout) {
      Fail(windowGone ? "the process was still running 30 s after the command"
                      : "the window was still there 30 s after the command");
    }
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      const int type = event->response_type & 0x7f;
      std::free(event);
      if (!windowGone && (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY)) {
        windowGone = Clock::now() - start;
      }
    }
    if (xcb_connection_has_error(connection)) Fail("lost the X connection");
    if (!processGone && !Running(program)) {
      processGone = Clock::now() - start;
      // Its window went with its connection at the latest.
      if (!windowGone) windowGone = processGone;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(250));
  }
  int status = 0;
  waitpid(child, &status, 0);
  xcb_disconnect(connection);
  std::printf("%.1f %.1f\n", windowGone->count(), processGone->count());
  return 0;
}
