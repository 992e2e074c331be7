// Each runtime operation as the matching Qt call. Text passes as UTF-16 code
// units unchanged both ways (qt_text.h).
#include "qt_runtime.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <utility>

#include "qt_text.h"

namespace colfix {

template <class Widget>
Widget& QtRuntime::Find(Control control) const {
  QWidget* found =
      control == Control::frmMain ? &form_ : form_.findChild<QWidget*>(ObjectName(control));
  auto* widget = qobject_cast<Widget*>(found);
  if (widget == nullptr) {
    throw RuntimeError("frmMain has no " + std::string(ControlName(control)) +
                       " of the kind asked for");
  }
  return *widget;
}

std::u16string QtRuntime::Text(Control field) const {
  return Find<QLineEdit>(field).text().toStdU16String();
}

void QtRuntime::SetText(Control field, std::u16string_view text) {
  Find<QLineEdit>(field).setText(ToQString(text));
}

int QtRuntime::Value(Control checkBox) const {
  const Qt::CheckState state = Find<QCheckBox>(checkBox).checkState();
  if (state == Qt::Unchecked) return kUnchecked;
  return state == Qt::PartiallyChecked ? kGrayed : kChecked;
}

WindowHandle QtRuntime::Handle(Control form) const {
  return static_cast<WindowHandle>(Find<QWidget>(form).winId());
}

void QtRuntime::Unload(Control form) {
  Find<QWidget>(form).close();
}

void QtRuntime::End() {
  ended_ = true;
  QCoreApplication::exit(0);
}

void QtRuntime::ClipboardClear() {
  // A Wayland client may set the selection once per input event: mutter keeps
  // the first and drops a second with the same event's serial, so emptying and
  // then setting the text left the clipboard empty there. The emptying waits
  // until the event is handled and is dropped if text replaces the contents
  // meanwhile, which leaves the same clipboard in one step.
  if (QGuiApplication::platformName() == QLatin1String("wayland")) {
    clearPending_ = true;
    QMetaObject::invokeMethod(
        &form_,
        [this] {
          if (std::exchange(clearPending_, false)) EmptyClipboard();
        },
        Qt::QueuedConnection);
    return;
  }
  EmptyClipboard();
}

void QtRuntime::EmptyClipboard() {
  // Owning the clipboard with no data in it empties it in every format, even
  // while another program owns it. QClipboard::clear() would leave another
  // owner alone, and from our own ownership it would leave the clipboard
  // without an owner for a moment: a clipboard manager that restores an
  // emptied clipboard can then land its old content after our text.
  QGuiApplication::clipboard()->setMimeData(new QMimeData, QClipboard::Clipboard);
}

void QtRuntime::ClipboardSetText(std::u16string_view text) {
  // Text alone replaces every format, so a pending emptying has nothing left to do.
  clearPending_ = false;
  QGuiApplication::clipboard()->setText(ToQString(text), QClipboard::Clipboard);
}

void QtRuntime::ReportError(std::string_view message) {
  QMessageBox::critical(&form_, form_.windowTitle(),
                        QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace colfix
