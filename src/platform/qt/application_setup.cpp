// See application_setup.h. Qt keeps these for the whole process, so they are
// set here, once, and not by each window.
#include "application_setup.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "frm_main_window.h"

namespace colfix {
namespace {

// Qt describes a plain top-level widget as a client area, which reaches screen
// readers as a filler; frmMain is a window, known by its title.
QAccessibleInterface* AccessibleFrmMain(const QString& /*class_name*/, QObject* object) {
  auto* window = dynamic_cast<FrmMainWindow*>(object);
  return window != nullptr ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

// A check box is 13 pixels high, barely more than its caption: fitted the way
// the style would fit a roomier box, the caption or the square loses its bottom.
class CheckBoxFittingStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  // Some styles (Fusion) draw the square a pixel taller than the box.
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    const bool square = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight;
    const auto* box = qobject_cast<const QCheckBox*>(widget);
    return square && box != nullptr ? std::min(value, box->height()) : value;
  }

  // Styles centre the caption's line, whose ascent keeps room for accents over
  // capitals, so the letters sit low and descenders drop off the bottom. The
  // caption's own ink is centred instead, in a rectangle a whole line high so
  // that nothing is clipped but by the box itself.
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* label = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_CheckBoxLabel || label == nullptr || widget == nullptr) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    const QFontMetricsF metrics(widget->font());
    const QRectF ink = metrics.tightBoundingRect(label->text);  // from the baseline
    const qreal baseline =
        label->rect.top() + (label->rect.height() - ink.height()) / 2 - ink.top();
    QStyleOptionButton centred = *label;
    centred.rect.setTop(qRound(baseline - metrics.ascent()));
    centred.rect.setHeight(qCeil(metrics.height()));
    QProxyStyle::drawControl(element, &centred, painter, widget);
  }
};

}  // namespace

void SetUpApplication() {
  QAccessible::installFactory(AccessibleFrmMain);
  // The proxy takes over the style object the application already has (the
  // desktop's, or a theme's own proxy style, whatever its name), so the check
  // boxes are drawn by the very style that draws the rest of the window.
  QApplication::setStyle(new CheckBoxFittingStyle(QApplication::style()));
}

}  // namespace colfix
