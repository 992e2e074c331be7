// Each runtime operation as the matching Qt call. Text passes as UTF-16 code
// units unchanged both ways (qt_text.h), but for the clipboard's lone surrogates.
#include "qt_runtime.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <utility>

#include "qt_text.h"
#include "xcb_atoms.h"

namespace colfix {
namespace {

// Whether X's clipboard is this program's, as it is after Qt took it; always
// so without X.
bool OwnsXClipboard() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return true;
  xcb_connection_t* connection = x11->connection();
  const XcbReply<xcb_get_selection_owner_reply_t> reply(
      xcb_get_selection_owner_reply(
          connection, xcb_get_selection_owner(connection, Atom(connection, "CLIPBOARD")), nullptr),
      &std::free);
  // The ids of the windows a program makes all lie in its own range.
  const xcb_setup_t* setup = xcb_get_setup(connection);
  return reply && (reply->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

// Gives the clipboard what `data` makes. Qt takes X's clipboard with the time of
// the last X event it handled. sway takes it back, for its Wayland clipboard,
// whenever the focus comes to an X window, so as a menu closes over a Paste, at
// a later time: X then keeps sway's owner. sway's change is in Qt's queue by
// then, and once handled it brings Qt's time past it, so a second try holds.
// The text as the clipboard carries it: UTF-8, which has no form for a lone
// surrogate. Qt's encoder wrote each as '?' up to 6.8 and leaves it out in 6.11;
// U+FFFD, the character that stands for what could not be decoded, gives other
// programs the same bytes on every Qt.
QString ClipboardText(std::u16string_view text) {
  QString result = ToQString(text);
  if (result.isValidUtf16()) return result;
  for (qsizetype i = 0; i < result.size(); ++i) {
    if (result[i].isHighSurrogate() && i + 1 < result.size() && result[i + 1].isLowSurrogate()) {
      ++i;
    } else if (result[i].isSurrogate()) {
      result[i] = QChar::ReplacementCharacter;
    }
  }
  return result;
}

template <class MakeData>
void SetClipboard(const MakeData& data) {
  QGuiApplication::clipboard()->setMimeData(data(), QClipboard::Clipboard);
  if (OwnsXClipboard()) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QGuiApplication::clipboard()->setMimeData(data(), QClipboard::Clipboard);
}

}  // namespace

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
  SetClipboard([] { return new QMimeData; });
}

void QtRuntime::ClipboardSetText(std::u16string_view text) {
  // Text alone replaces every format, so a pending emptying has nothing left to do.
  clearPending_ = false;
  SetClipboard([text] {
    auto* data = new QMimeData;
    data->setText(ClipboardText(text));
    return data;
  });
}

void QtRuntime::ReportError(std::string_view message) {
  QMessageBox::critical(&form_, form_.windowTitle(),
                        QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace colfix
