// The release-then-menu order of the reference field. On X11 Qt sends the
// context menu event on the right button's press, so the release would go to
// the menu and never reach the field; as on Windows, the release is reported
// first and the menu opens afterwards.
#include "transcode_field.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <limits>

namespace colfix {

bool IsPasteAction(const QAction& action) {
  // QLineEdit names its actions only by caption, in its own translation context,
  // with the shortcut after a tab.
  return action.text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste");
}

MouseArgs ToMouseArgs(const QMouseEvent& event) {
  MouseArgs args;
  if (event.button() == Qt::LeftButton) args.button = 1;
  if (event.button() == Qt::RightButton) args.button = 2;
  if (event.button() == Qt::MiddleButton) args.button = 4;
  const Qt::KeyboardModifiers held = event.modifiers();
  if (held & Qt::ShiftModifier) args.shift |= 1;
  if (held & Qt::ControlModifier) args.shift |= 2;
  if (held & Qt::AltModifier) args.shift |= 4;
  args.x = static_cast<float>(event.position().x());
  args.y = static_cast<float>(event.position().y());
  return args;
}

TranscodeField::TranscodeField(QWidget* parent) : QLineEdit(parent) {
  // QLineEdit stops at 32767 characters; the reference has no limit of its own.
  setMaxLength(std::numeric_limits<int>::max());
}

void TranscodeField::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  emit mouseReleased(ToMouseArgs(*event));
  if (event->button() == Qt::RightButton) OpenContextMenu(event->globalPosition().toPoint());
}

void TranscodeField::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  // The mouse's menu waits for the release (above); the Menu key's opens now.
  if (event->reason() != QContextMenuEvent::Mouse) OpenContextMenu(event->globalPos());
}

void TranscodeField::keyPressEvent(QKeyEvent* event) {
  // Shift+F10 is the other keyboard way to the menu (Windows, GTK); Qt on X11
  // knows only the Menu key.
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
    event->accept();
    OpenContextMenu(mapToGlobal(cursorRect().center()));
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TranscodeField::OpenContextMenu(const QPoint& globalPos) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (QAction* action : menu->actions()) {
    // Connected after QLineEdit's own paste, so the text is in when this runs.
    if (IsPasteAction(*action)) {
      connect(action, &QAction::triggered, this, &TranscodeField::pastedFromMenu);
    }
  }
  menu->popup(globalPos);
}

}  // namespace colfix
