// Keeps the text Colfix last put on the X clipboard available after Colfix has
// ended, where no clipboard manager takes it over: colfix-clipboard-keeper, a
// small helper installed with Colfix, is started with the text and serves it.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace colfix {

class ClipboardKeeping {
 public:
  // Once the event loop has ended, while the application still exists. With no
  // clipboard manager running the keeper takes the clipboard over now, before
  // Colfix lets go of it, so that it never stands empty. With one, Qt hands the
  // clipboard to it as the application ends; the text is kept in case that fails.
  void HandOver();

  // Declared before the application, this runs after it is gone: if the
  // manager neither took the clipboard nor restores it, the keeper takes the
  // text over then.
  ~ClipboardKeeping();

 private:
  QString keeper_;
  std::optional<QByteArray> pending_;  // the keeper's input, while a manager's hand-over may fail
};

}  // namespace colfix
