// Turns the window's description into Qt widgets: twips become pixels at the
// screen's logical DPI (96 in Qt's device-independent pixels, so at a 2x scale
// the device pixels double), fonts fitted to the layout, tab order by tab index.
#include "frm_main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <map>
#include <stdexcept>

#include "frm_main_description.h"
#include "frm_main_placement.h"
#include "qt_text.h"
#include "transcode_field.h"

namespace colfix {
namespace {

// The layout was drawn around an 8-point dialog font, the size Frame1's caption
// keeps: at the desktop's own size (often 10 or 11 points) the text no longer
// fits the field's 19 pixels or a check box's 13. So every caption takes the
// desktop's family, the platform's stand-in for the original face, at that size;
// every property is marked as set, or a child of Frame1 would inherit its bold.
QFont LayoutFont(const QWidget& widget, double points, int weight) {
  QFont font = QApplication::font(&widget);
  font.setPointSizeF(points);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

QRect ToPixels(const TwipsRect& twips, int dpi) {
  return QRect(TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
               TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi));
}

}  // namespace

FrmMainWindow::FrmMainWindow(const QIcon& icon)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      runtime_(*this),
      handlers_(runtime_, module_) {
  const FormDescription& form = frmMainDescription();
  setObjectName(ObjectName(form.name));
  setWindowTitle(ToQString(form.caption));
  setWindowIcon(icon);

  const int dpi = qRound(screen()->logicalDotsPerInch());
  // The description lists containers before their controls (checked as it compiles).
  std::map<Control, QWidget*> built{{form.name, this}};
  for (const ControlDescription& control : form.controls) {
    QWidget* widget = CreateControl(control, built.at(control.container), icon);
    widget->setObjectName(ObjectName(control.name));
    widget->setGeometry(ToPixels(control.twips, dpi));
    widget->setFont(LayoutFont(
        *widget, form.layoutFont.points,
        control.font == FontRole::FrameCaption ? form.layoutFont.weight : int{QFont::Normal}));
    ConnectEvents(control.name, widget);
    built[control.name] = widget;
  }
  SetTabOrder();
  OrderForScreenReaders();

  setFixedSize(TwipsToPixels(form.clientWidthTwips, dpi),
               TwipsToPixels(form.clientHeightTwips, dpi));
  const QRect area = screen()->availableGeometry();
  move(CentredStart(area.x(), area.width(), width()),
       CentredStart(area.y(), area.height(), height()));
}

QWidget* FrmMainWindow::CreateControl(const ControlDescription& control, QWidget* container,
                                      const QIcon& icon) {
  const QString caption = ToQString(control.caption);
  switch (control.kind) {
    case ControlKind::GroupFrame:
      return new QGroupBox(caption, container);
    case ControlKind::CheckBox:
      return new QCheckBox(caption, container);
    case ControlKind::TextField:
      return new TranscodeField(container);
    case ControlKind::PushButton:
      // Outside a QDialog no button is a default or cancel button, so Enter
      // and Escape do nothing.
      return new QPushButton(caption, container);
    case ControlKind::PictureArea: {
      auto* picture = new QLabel(container);
      picture->setPixmap(icon.pixmap(QSize(32, 32), devicePixelRatio()));
      // The application's icon, named as the application is.
      picture->setAccessibleName(windowTitle());
      return picture;
    }
    case ControlKind::Form:
      break;
  }
  throw std::invalid_argument("frmMain cannot contain another window");
}

void FrmMainWindow::ConnectEvents(Control name, QWidget* widget) {
  if (auto* field = qobject_cast<TranscodeField*>(widget)) {
    connect(field, &TranscodeField::mouseReleased, this,
            [this, name](const MouseArgs& args) { RaiseEvent(name, Event::MouseUp, args); });
    connect(field, &TranscodeField::pastedFromMenu, this,
            [this, name] { RaiseEvent(name, Event::MenuPaste); });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, name] { RaiseEvent(name, Event::Click); });
  }
}

void FrmMainWindow::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const Control name : TabOrder()) {
    auto* widget = findChild<QWidget*>(ObjectName(name));
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous == nullptr) {
      widget->setFocus();  // the first control that takes the focus has it at start
    } else {
      setTabOrder(previous, widget);
    }
    previous = widget;
  }
}

// Screen readers take a container's controls in stacking order, which is the
// order they were built in: the description's, icon and Exit first. Raising the
// window's own controls in tab order puts the group, with its controls in the
// order they are laid out, before Exit, and the icon, which only decorates, last.
void FrmMainWindow::OrderForScreenReaders() {
  for (const Control name : TabOrder()) {
    if (Describe(name).container == Control::frmMain) {
      findChild<QWidget*>(ObjectName(name))->raise();
    }
  }
}

void FrmMainWindow::RaiseEvent(Control control, Event event, const MouseArgs& mouse) {
  if (runtime_.Ended()) return;
  handlers_.Raise(control, event, mouse);
}

void FrmMainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  RaiseEvent(Control::frmMain, Event::Unload);
}

}  // namespace colfix
