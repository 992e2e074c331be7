// The reference field: every release reported after the field's own handling,
// and the context menu's part in that.
#include "transcode_field.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <limits>
#include <utility>

namespace colfix {

bool IsPasteAction(const QAction& action) {
  // QLineEdit names its actions only by caption, in its own translation context,
  // with the shortcut after a tab.
  return action.text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste");
}

TranscodeField::TranscodeField(QWidget* parent) : QLineEdit(parent) {
  // QLineEdit stops at 32767 characters; the reference has no limit of its own.
  setMaxLength(std::numeric_limits<int>::max());
}

void TranscodeField::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) rightReleaseOwed_ = ToMouseArgs(*event);
  QLineEdit::mousePressEvent(event);
}

void TranscodeField::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::RightButton) rightReleaseOwed_.reset();
  emit mouseReleased(ToMouseArgs(*event));
}

MouseArgs TranscodeField::ToMouseArgs(const QMouseEvent& event) const {
  int button = 0;
  if (event.button() == Qt::LeftButton) button = kLeftButton;
  if (event.button() == Qt::RightButton) button = kRightButton;
  if (event.button() == Qt::MiddleButton) button = kMiddleButton;
  const Qt::KeyboardModifiers held = event.modifiers();
  int shift = 0;
  if (held & Qt::ShiftModifier) shift |= kShiftMask;
  if (held & Qt::ControlModifier) shift |= kCtrlMask;
  if (held & Qt::AltModifier) shift |= kAltMask;
  // Device-independent pixels, which the window's layout takes at the logical DPI.
  return MouseArgsFromPixels(button, shift, event.position().x(), event.position().y(),
                             qRound(screen()->logicalDotsPerInch()));
}

void TranscodeField::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  OpenContextMenu(event->globalPos());
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

void TranscodeField::focusOutEvent(QFocusEvent* event) {
  // A press on another control moves the focus before that control sees the
  // press, and a button's press handler paints the window there and then. Qt
  // lays out and draws the field's whole line at every paint, a fifth of a second
  // for a million characters, and Exit's click would wait for it. So the field's
  // repaint for the lost focus waits until the button is up.
  if (event->reason() != Qt::MouseFocusReason || QGuiApplication::mouseButtons() == Qt::NoButton) {
    QLineEdit::focusOutEvent(event);
    return;
  }
  // The attribute alone, not setUpdatesEnabled(), which repaints as it enables.
  setAttribute(Qt::WA_UpdatesDisabled, true);
  QLineEdit::focusOutEvent(event);
  setAttribute(Qt::WA_UpdatesDisabled, false);
  qApp->installEventFilter(this);  // once, however often installed
}

bool TranscodeField::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    qApp->removeEventFilter(this);
    // Queued: a button repaints the window as it handles its release, and Exit's
    // handler ends the program after that.
    QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
  }
  return false;
}

namespace {

// Puts off a menu's closing at a key press or button release until that event
// has been handled, so that the action it chooses runs while the menu is still
// shown. A Wayland compositor takes the clipboard only from the client with the
// keyboard, and KWin 5.27 gives the keyboard to a menu at a key press in it and
// to nobody once the menu has gone, until the next key: a copy made after the
// menu had closed would be lost.
class CloseAfterChoice : public QObject {
 public:
  explicit CloseAfterChoice(QMenu& menu) : QObject(&menu), menu_(menu) {
    menu.installEventFilter(this);
  }

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonRelease) {
      choosing_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            choosing_ = false;
            if (std::exchange(closeOwed_, false)) menu_.close();
          },
          Qt::QueuedConnection);
    } else if (event->type() == QEvent::Close && choosing_) {
      event->ignore();
      closeOwed_ = true;
      return true;
    }
    return false;
  }

 private:
  QMenu& menu_;
  bool choosing_ = false;   // the menu is handling a key press or a button release
  bool closeOwed_ = false;  // and was to close meanwhile
};

}  // namespace

void TranscodeField::OpenContextMenu(const QPoint& globalPos) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  new CloseAfterChoice(*menu);
  // Connected after QLineEdit's own, so the text is in by then.
  for (QAction* action : menu->actions()) {
    if (IsPasteAction(*action)) {
      connect(action, &QAction::triggered, this, [this] { AfterContextMenu(true); });
    }
  }
  connect(
      menu, &QMenu::aboutToHide, this, [this] { AfterContextMenu(false); }, Qt::QueuedConnection);
  menu->popup(globalPos);
}

void TranscodeField::AfterContextMenu(bool pasted) {
  if (rightReleaseOwed_) {
    // The menu took the release of the press that opened it.
    emit mouseReleased(*std::exchange(rightReleaseOwed_, std::nullopt));
  } else if (pasted) {
    emit pastedFromMenu();
  }
}

}  // namespace colfix
