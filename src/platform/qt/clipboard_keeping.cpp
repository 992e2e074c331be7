// See clipboard_keeping.h. The keeper is spawned in a session of its own, so
// that a terminal's hang-up or Ctrl+C meant for Colfix leaves it alone, and
// given the text over a socket pair: the text one way, then one byte back once
// it owns the clipboard.
#include "clipboard_keeping.h"
#include "xcb_atoms.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>

extern char** environ;

namespace colfix {
namespace {

// Whether `selection` has an owner on the display Qt uses, asked again for up
// to `patience`; false also when the display cannot be reached.
bool SelectionOwned(const char* selection, std::chrono::milliseconds patience) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  bool owned = false;
  if (xcb_connection_has_error(connection) == 0) {
    const xcb_atom_t atom = Atom(connection, selection);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (atom != XCB_ATOM_NONE) {
      const XcbReply<xcb_get_selection_owner_reply_t> reply(
          xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom),
                                        nullptr),
          &std::free);
      owned = reply && reply->owner != XCB_WINDOW_NONE;
      if (!reply || owned || std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  xcb_disconnect(connection);
  return owned;
}

constexpr QLatin1String kXKeeper("colfix-clipboard-keeper");
constexpr QLatin1String kWaylandKeeper("colfix-wayland-clipboard-keeper");

// Installed, a keeper is in Colfix's libexec folder; in the build tree, beside it.
QString KeeperPath(QLatin1String name) {
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  const QString installed = beside + QStringLiteral(COLFIX_KEEPER_DIR_FROM_BINDIR "/") + name;
  return QFileInfo(installed).isExecutable() ? installed : beside + name;
}

// Whether a byte came from the keeper within `patience`; false also at the end
// of the stream, when it could not take the clipboard.
bool KeeperSaid(int socket, std::chrono::milliseconds patience) {
  pollfd ready{socket, POLLIN, 0};
  char byte;
  return ::poll(&ready, 1, static_cast<int>(patience.count())) == 1 &&
         ::recv(socket, &byte, 1, 0) == 1;
}

// Starts the keeper with `text` and waits (a few seconds at most) until it owns
// the clipboard, and with `untilServed` also until it has answered the first
// request for its TARGETS (a second at most). Whether it took the clipboard.
bool StartKeeper(const QString& path, const QByteArray& text, bool untilServed = false) {
  int sockets[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return false;
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, sockets[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&files, sockets[1], STDOUT_FILENO);
  // Nothing else of Colfix's: a pipe held open would keep a shell that reads
  // Colfix's output waiting for as long as the keeper runs.
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  const QByteArray program = QFile::encodeName(path);
  char* arguments[] = {const_cast<char*>(program.constData()), nullptr};
  pid_t pid;
  const bool started =
      posix_spawn(&pid, program.constData(), &files, &attributes, arguments, environ) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  ::close(sockets[1]);
  bool owns = false;
  if (started) {
    for (qsizetype sent = 0; sent < text.size();) {
      const ssize_t wrote = ::send(sockets[0], text.constData() + sent,
                                   static_cast<std::size_t>(text.size() - sent), MSG_NOSIGNAL);
      if (wrote < 0 && errno != EINTR) break;
      if (wrote > 0) sent += wrote;
    }
    ::shutdown(sockets[0], SHUT_WR);
    using std::chrono_literals::operator""ms;
    owns = KeeperSaid(sockets[0], 5000ms);
    if (owns && untilServed) KeeperSaid(sockets[0], 1000ms);
  }
  ::close(sockets[0]);
  return owns;
}

// A keeper's input for the text Colfix has on the clipboard, as Qt serves it,
// in UTF-8 and in Latin-1; empty when Colfix has no text there.
std::optional<QByteArray> KeeperInput() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (!clipboard->ownsClipboard() || data == nullptr || !data->hasText()) return std::nullopt;
  const QByteArray utf8 = data->text().toUtf8();
  const QByteArray latin1 = data->text().toLatin1();
  return QByteArray::number(utf8.size()) + ' ' + QByteArray::number(latin1.size()) + '\n' + utf8 +
         latin1;
}

// Calls `closing` as the watched window is asked to close, before it is hidden.
class CloseWatch : public QObject {
 public:
  CloseWatch(QWidget& window, std::function<void()> closing)
      : QObject(&window), closing_(std::move(closing)) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Close) closing_();
    return false;
  }

 private:
  std::function<void()> closing_;
};

}  // namespace

void ClipboardKeeping::HandOverOnClose(QWidget& window) {
  // In a Wayland session, DISPLAY names the compositor's XWayland.
  if (QGuiApplication::platformName() != QLatin1String("xcb") ||
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return;
  }
  new CloseWatch(window, [this] {
    if (const std::optional<QByteArray> input = KeeperInput()) {
      handedOver_ = StartKeeper(KeeperPath(kXKeeper), *input, true);
    }
  });
}

void ClipboardKeeping::HandOver() {
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland")) return;
  // Qt may not have heard yet that a keeper started on closing took the clipboard.
  if (handedOver_) return;
  std::optional<QByteArray> input = KeeperInput();
  if (!input) return;
  // The Wayland keeper ends at once where the compositor offers no data-control.
  if (platform == QLatin1String("wayland")) {
    StartKeeper(KeeperPath(kWaylandKeeper), *input);
    return;
  }
  keeper_ = KeeperPath(kXKeeper);
  if (!SelectionOwned("CLIPBOARD_MANAGER", {})) {
    StartKeeper(keeper_, *input);
  } else {
    pending_ = std::move(input);
  }
}

ClipboardKeeping::~ClipboardKeeping() {
  // A manager that did not answer may still restore the emptied clipboard from
  // its own copy, as xfce4-clipman does within milliseconds: then it keeps it.
  using std::chrono_literals::operator""ms;
  if (pending_ && !SelectionOwned("CLIPBOARD", 300ms)) StartKeeper(keeper_, *pending_);
}

}  // namespace colfix
