// Turns the window's description into Qt widgets: twips become pixels at the
// screen's logical DPI (96 in Qt's device-independent pixels, so at a 2x scale
// the device pixels double), fonts as described, tab order by tab index.
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

#include "application_icon.h"
#include "control_names.h"
#include "frm_main_description.h"
#include "qt_text.h"
#include "transcode_field.h"

namespace colfix {
namespace {

QFont FrameCaptionFont(const FontDescription& font) {
  QFont qfont(ToQString(font.family));
  qfont.setPointSizeF(font.points);
  qfont.setWeight(static_cast<QFont::Weight>(font.weight));
  // Without MS Sans Serif, fontconfig picks the nearest sans-serif face.
  qfont.setStyleHint(QFont::SansSerif);
  return qfont;
}

// The platform's font for this kind of widget at regular weight, with every
// property marked as set: otherwise a child of Frame1 would inherit the bold caption font.
QFont DialogFont(const QWidget& widget) {
  QFont font = QApplication::font(&widget);
  font.setWeight(QFont::Normal);
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

QRect ToPixels(const TwipsRect& twips, int dpi) {
  return QRect(TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
               TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi));
}

}  // namespace

FrmMainWindow::FrmMainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      runtime_(*this),
      handlers_(runtime_) {
  const FormDescription& form = frmMainDescription();
  setObjectName(ControlName(form.name));
  setWindowTitle(ToQString(form.caption));
  setWindowIcon(ApplicationIcon());

  const int dpi = qRound(screen()->logicalDotsPerInch());
  // Containers come before their controls in the description.
  std::map<Control, QWidget*> built{{form.name, this}};
  for (const ControlDescription& control : form.controls) {
    QWidget* widget = CreateControl(control, built.at(control.container));
    widget->setObjectName(ControlName(control.name));
    widget->setGeometry(ToPixels(control.twips, dpi));
    widget->setFont(control.font == FontRole::FrameCaption ? FrameCaptionFont(form.frameCaptionFont)
                                                           : DialogFont(*widget));
    ConnectEvents(control.name, widget);
    built[control.name] = widget;
  }
  SetTabOrder();

  setFixedSize(TwipsToPixels(form.clientWidthTwips, dpi),
               TwipsToPixels(form.clientHeightTwips, dpi));
  const QRect area = screen()->availableGeometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

QWidget* FrmMainWindow::CreateControl(const ControlDescription& control, QWidget* container) {
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
      picture->setPixmap(ApplicationIcon().pixmap(QSize(32, 32), devicePixelRatio()));
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
            [this, name] { RaiseEvent(name, Event::MouseUp); });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, name] { RaiseEvent(name, Event::Click); });
  }
}

void FrmMainWindow::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const Control name : TabOrder()) {
    auto* widget = findChild<QWidget*>(ControlName(name));
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous == nullptr) {
      widget->setFocus();  // the first control that takes the focus has it at start
    } else {
      setTabOrder(previous, widget);
    }
    previous = widget;
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
