// Every caption, the field's text and the check boxes' squares shown whole:
// every control drawn as shown is compared with the same control given room to
// spare. Run in each layout run, and again under each desktop setting
// (desktop_setting_test.cpp), which is checked to be in force.
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QProxyStyle>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "shown_window.h"

namespace colfix::testing {
namespace {

// In the program a Desktops row (desktop_setting_test.cpp) starts, with
// COLFIX_DESKTOP_SETTING naming the qt6ct configuration it wrote: that setting
// is the one in force, with the family really installed, not a stand-in.
using InDesktopSetting = ShownWindow;

TEST_F(InDesktopSetting, IsInForce) {
  const QString written = qEnvironmentVariable("COLFIX_DESKTOP_SETTING");
  if (written.isEmpty()) GTEST_SKIP() << "runs only under a desktop setting a Desktops row makes";
  const QSettings qt6ct(written, QSettings::IniFormat);
  QFont font;
  ASSERT_TRUE(font.fromString(qt6ct.value("Fonts/general").toString()));
  EXPECT_EQ(QApplication::font().family(), font.family());
  EXPECT_DOUBLE_EQ(QApplication::font().pointSizeF(), font.pointSizeF());
  const QStyle* style = QApplication::style();
  for (const QWidget* widget : window().findChildren<QWidget*>()) {
    EXPECT_EQ(QFontInfo(widget->font()).family(), font.family())
        << widget->objectName().toStdString();
    EXPECT_EQ(widget->style(), style) << widget->objectName().toStdString();
  }
  // Under the program's own and qt6ct's proxies.
  while (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) style = proxy->baseStyle();
  EXPECT_EQ(style->name(), qt6ct.value("Appearance/style").toString().toLower());
  EXPECT_DOUBLE_EQ(window().devicePixelRatio(),
                   qEnvironmentVariable("COLFIX_EXPECTED_SCALE").toDouble());
}

// What a control draws, without its children, at `size` and its screen's pixel ratio.
QImage Drawn(QWidget& widget, QSize size) {
  const QSize kept = widget.size();
  widget.resize(size);
  const qreal ratio = widget.devicePixelRatio();
  QPixmap pixmap(static_cast<int>(std::ceil(size.width() * ratio)),
                 static_cast<int>(std::ceil(size.height() * ratio)));
  pixmap.setDevicePixelRatio(ratio);
  // At a fractional ratio the last device pixels may be left undrawn.
  pixmap.fill(widget.palette().color(QPalette::Window));
  widget.render(&pixmap, {}, {}, QWidget::DrawWindowBackground);
  widget.resize(kept);
  return pixmap.toImage();
}

struct Ink {
  int pixels = 0;
  QRect bounds;
};

template <class IsInk>
Ink InkOf(const QImage& image, IsInk isInk) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!isInk(image.pixelColor(x, y))) continue;
      ++ink.pixels;
      ink.bounds |= QRect(x, y, 1, 1);
    }
  }
  return ink;
}

// Text is drawn in pure red for these checks, which no style uses for anything
// else: a pixel with clearly more red than green or blue is text. (Crumbs of
// antialiasing fainter than that come and go with the clip, and at a scale
// such as 1.25 an edge that falls a quarter into the next pixel shows no more.)
constexpr int kClearly = 32;

int Redness(const QColor& color) {
  return color.red() - std::max(color.green(), color.blue());
}

bool IsText(const QColor& color) {
  return Redness(color) >= kClearly;
}

struct CaptionCase {
  Control control;
  bool withSquare;  // a check box, whose square is drawn left of its caption
};

const CaptionCase kCaptions[] = {
    {Control::Frame1, false},       {Control::chkOntop, true},  {Control::chkAutoCopy, true},
    {Control::txtTranscode, false}, {Control::cmdclear, false}, {Control::cmdExit, false},
};

class ShownCaption : public ShownWindow, public ::testing::WithParamInterface<CaptionCase> {};

// Clipped, a control's text covers fewer rows or columns than with room to
// spare, where it is drawn the same, only shifted (centred by half the room).
TEST_P(ShownCaption, IsDrawnAsWholeAsWithRoomToSpare) {
  QPalette textInRed = window().palette();
  for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    textInRed.setColor(role, Qt::red);
  }
  window().setPalette(textInRed);
  // A focus frame is drawn to fit whatever room there is.
  QApplication::focusWidget()->clearFocus();
  // Descenders and underscores, as a tidied reference shows them.
  control<QLineEdit>(Control::txtTranscode).setText("AB_12_34 gjpqy");
  QWidget& widget = control(GetParam().control);
  const QImage inPlace = Drawn(widget, widget.size());
  const QImage roomy = Drawn(widget, widget.size() + QSize(16, 16));

  const Ink text = InkOf(inPlace, IsText), roomyText = InkOf(roomy, IsText);
  EXPECT_GT(text.pixels, 0);
  EXPECT_EQ(text.bounds.height(), roomyText.bounds.height());
  // A box drawn narrower may move the text by a fraction of a pixel.
  EXPECT_LE(std::abs(text.bounds.width() - roomyText.bounds.width()), 1);
  if (GetParam().withSquare) {
    // Given room, a style may draw a bigger square; in place it must still be
    // square, not one with an edge cut off. It stands left of any trace of text.
    const int textStart =
        InkOf(inPlace, [](const QColor& c) { return Redness(c) > 0; }).bounds.left();
    const QColor background = window().palette().color(QPalette::Window);
    const Ink square = InkOf(inPlace.copy(0, 0, textStart, inPlace.height()), [&](const QColor& c) {
      return std::max({std::abs(c.red() - background.red()),
                       std::abs(c.green() - background.green()),
                       std::abs(c.blue() - background.blue())}) >= kClearly;
    });
    EXPECT_GT(square.pixels, 0);
    EXPECT_EQ(square.bounds.width(), square.bounds.height());
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCaption, ShownCaption, ::testing::ValuesIn(kCaptions),
                         ControlRowName());

}  // namespace
}  // namespace colfix::testing
