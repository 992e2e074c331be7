// The self-pipe trick: a signal handler may only do async-signal-safe work, so
// it writes one byte to a socket, and a QSocketNotifier on the other end does
// the real work in the event loop.
#include "unix_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>

namespace colfix {
namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// [0] is written by the handler, [1] is read in the event loop.
int signalSockets[2] = {-1, -1};
// Each signal's action from before ours, in the order of kTerminationSignals.
struct sigaction actionsBefore[std::size(kTerminationSignals)];

void WakeEventLoop(int signalNumber) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signalNumber);
  // A full socket already holds a wake-up, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void CloseOnTerminationSignals(QObject& owner, std::function<void()> close) {
  // Without the socket pair the signals keep their default action: they still
  // end the program, only without unloading the window.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets) != 0) {
    return;
  }
  auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [close = std::move(close)] {
    char drained[16];
    while (::read(signalSockets[1], drained, sizeof drained) > 0) {
    }
    close();
  });

  struct sigaction action {};
  action.sa_handler = WakeEventLoop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kTerminationSignals); ++i) {
    ::sigaction(kTerminationSignals[i], nullptr, &actionsBefore[i]);
    if (actionsBefore[i].sa_handler != SIG_IGN)
      ::sigaction(kTerminationSignals[i], &action, nullptr);
  }
}

void RestoreTerminationSignals() {
  if (signalSockets[0] == -1) return;  // nothing was installed
  for (std::size_t i = 0; i < std::size(kTerminationSignals); ++i) {
    ::sigaction(kTerminationSignals[i], &actionsBefore[i], nullptr);
  }
}

}  // namespace colfix
