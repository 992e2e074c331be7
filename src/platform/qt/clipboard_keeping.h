// Keeps the text Colfix last put on the clipboard available after Colfix has
// ended, where no clipboard manager takes it over: colfix-clipboard-keeper (X11)
// or colfix-wayland-clipboard-keeper (native Wayland), small helpers installed
// with Colfix, is started with the text and serves it.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QWidget;

namespace colfix {

class ClipboardKeeping {
 public:
  // Once the event loop has ended, while the application still exists. With no
  // X clipboard manager running, and always as a native Wayland client, the
  // keeper takes the clipboard over now, before Colfix lets go of it, so that
  // it never stands empty. With one, Qt hands the clipboard to it as the
  // application ends; the text is kept in case that fails.
  void HandOver();

  // Through XWayland a compositor may pass an X program's clipboard on to
  // Wayland programs only while one of its windows has the focus (sway and
  // KWin do):
  // there the keeper takes the text over as `window` closes, before it hides,
  // and HandOver then leaves it alone.
  void HandOverOnClose(QWidget& window);

  // Declared before the application, this runs after it is gone: if the
  // manager neither took the clipboard nor restores it, the keeper takes the
  // text over then.
  ~ClipboardKeeping();

 private:
  QString keeper_;
  std::optional<QByteArray> pending_;  // the keeper's input, while a manager's hand-over may fail
  bool handedOver_ = false;            // to a keeper as the window closed
};

}  // namespace colfix
