// The self-pipe trick: a signal handler may only do async-signal-safe work, so
// it writes one byte to a socket, and a QSocketNotifier on the other end does
// the real work in the event loop.
#include "unix_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace colfix {
namespace {

// [0] is written by the handler, [1] is read in the event loop.
int signalSockets[2] = {-1, -1};

void WakeEventLoop(int signalNumber) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signalNumber);
  // A full socket already holds a wake-up, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
  errno = savedErrno;
}

bool IgnoredAtStart(int signalNumber) {
  struct sigaction current {};
  return ::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
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
  for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
    if (!IgnoredAtStart(signalNumber)) ::sigaction(signalNumber, &action, nullptr);
  }
}

}  // namespace colfix
