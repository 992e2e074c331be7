// txtTranscode on Qt: a QLineEdit that reports each mouse-button release after
// its own handling of it. Where the right button's press opens the context menu
// (X11), its release goes to the menu, so it is reported once the menu has done
// its work: a Paste chosen there is then tidied, and with auto-copy ticked the
// clipboard is not overwritten before the menu pastes from it. A press on
// another control leaves the field's unfocused look to be drawn once the button
// is up.
#pragma once

#include <QLineEdit>
#include <optional>

#include "frm_main.h"

class QAction;
class QMouseEvent;

namespace colfix {

// Whether `action` is the Paste of QLineEdit's standard context menu.
bool IsPasteAction(const QAction& action);

class TranscodeField : public QLineEdit {
  Q_OBJECT

 public:
  explicit TranscodeField(QWidget* parent);

 signals:
  // A mouse button was released over the field (or after a press in it); the
  // field has already done its own part, such as the X11 middle-button paste.
  void mouseReleased(const colfix::MouseArgs& args);
  // Paste was chosen from a menu opened by the keyboard (or after the right
  // button's release was reported) and its text is already in.
  void pastedFromMenu();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Installed on the application while a press elsewhere holds the field's repaint.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Qt's button and modifier flags as the handler's bit sets, and the position.
  MouseArgs ToMouseArgs(const QMouseEvent& event) const;
  void OpenContextMenu(const QPoint& globalPos);
  // Once Paste has run in the menu (`pasted`), or once the menu has closed.
  void AfterContextMenu(bool pasted);

  // The right button is down over the field and its release not yet reported.
  std::optional<MouseArgs> rightReleaseOwed_;
};

}  // namespace colfix
