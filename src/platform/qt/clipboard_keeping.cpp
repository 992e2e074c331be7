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
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
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

// Installed, a keeper is in Colfix's libexec folder; in the build tree, beside it.
QString KeeperPath(const QString& name) {
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  const QString installed = beside + QStringLiteral(COLFIX_KEEPER_DIR_FROM_BINDIR "/") + name;
  return QFileInfo(installed).isExecutable() ? installed : beside + name;
}

// Starts the keeper with `text` and waits (a few seconds at most) until it owns
// the clipboard.
void StartKeeper(const QString& path, const QByteArray& text) {
  int sockets[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return;
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
  if (started) {
    for (qsizetype sent = 0; sent < text.size();) {
      const ssize_t wrote = ::send(sockets[0], text.constData() + sent,
                                   static_cast<std::size_t>(text.size() - sent), MSG_NOSIGNAL);
      if (wrote < 0 && errno != EINTR) break;
      if (wrote > 0) sent += wrote;
    }
    ::shutdown(sockets[0], SHUT_WR);
    // Its byte, or the end of the stream if it could not take the clipboard.
    pollfd ready{sockets[0], POLLIN, 0};
    ::poll(&ready, 1, 5000);
  }
  ::close(sockets[0]);
}

// The keeper's input: the text as Qt serves it, in UTF-8 and in Latin-1.
QByteArray KeeperInput(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  const QByteArray latin1 = text.toLatin1();
  return QByteArray::number(utf8.size()) + ' ' + QByteArray::number(latin1.size()) + '\n' + utf8 +
         latin1;
}

}  // namespace

void ClipboardKeeping::HandOver() {
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland")) return;
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (!clipboard->ownsClipboard() || data == nullptr || !data->hasText()) return;
  // The Wayland keeper ends at once where the compositor offers no data-control.
  if (platform == QLatin1String("wayland")) {
    StartKeeper(KeeperPath(QStringLiteral("colfix-wayland-clipboard-keeper")),
                KeeperInput(data->text()));
    return;
  }
  keeper_ = KeeperPath(QStringLiteral("colfix-clipboard-keeper"));
  if (!SelectionOwned("CLIPBOARD_MANAGER", {})) {
    StartKeeper(keeper_, KeeperInput(data->text()));
  } else {
    pending_ = KeeperInput(data->text());
  }
}

ClipboardKeeping::~ClipboardKeeping() {
  // A manager that did not answer may still restore the emptied clipboard from
  // its own copy, as xfce4-clipman does within milliseconds: then it keeps it.
  using std::chrono_literals::operator""ms;
  if (pending_ && !SelectionOwned("CLIPBOARD", 300ms)) StartKeeper(keeper_, *pending_);
}

}  // namespace colfix
