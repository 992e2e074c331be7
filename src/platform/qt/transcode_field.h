// txtTranscode on Qt: a QLineEdit that reports each mouse-button release after
// its own handling of it, and whose context menu follows the right button's
// release rather than its press.
#pragma once

#include <QLineEdit>

#include "frm_main.h"

class QAction;
class QMouseEvent;

namespace colfix {

// Qt's button and modifier flags as the handler's small bit sets
// (left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4) and the position in the field.
MouseArgs ToMouseArgs(const QMouseEvent& event);

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
  // Paste was chosen from the context menu and its text is already in.
  void pastedFromMenu();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OpenContextMenu(const QPoint& globalPos);
};

}  // namespace colfix
