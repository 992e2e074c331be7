// Every caption, the field's text and the check boxes' squares shown whole
// under the desktop settings people use: each font family and size a desktop
// offers, Qt's two styles and each usual scale, set as a desktop sets them
// (qt6ct's configuration, Xft.dpi). Each setting starts this program again on
// the display, where the window is built and every control drawn as shown is
// compared with the same control given room to spare.
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProxyStyle>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "shown_window.h"
#include "x_session_tools.h"

namespace colfix::testing {
namespace {

struct DesktopSetting {
  QString family;
  int points;
  QString style;
  double scale;

  // One line, for the environment of the program it is tried in.
  QString Encoded() const {
    return QStringLiteral("%1|%2|%3|%4").arg(family).arg(points).arg(style).arg(scale);
  }
  static DesktopSetting Decoded(const QString& line) {
    const QStringList parts = line.split(QLatin1Char('|'));
    if (parts.size() != 4)
      throw std::logic_error("COLFIX_DESKTOP_SETTING is family|points|style|scale");
    return {parts[0], parts[1].toInt(), parts[2], parts[3].toDouble()};
  }
};

// In the program started for one setting: that setting is the one in force,
// with the family really installed, not a stand-in.
using InDesktopSetting = ShownWindow;

TEST_F(InDesktopSetting, IsInForce) {
  const DesktopSetting setting =
      DesktopSetting::Decoded(qEnvironmentVariable("COLFIX_DESKTOP_SETTING"));
  EXPECT_EQ(QApplication::font().family(), setting.family);
  EXPECT_DOUBLE_EQ(QApplication::font().pointSizeF(), setting.points);
  const QStyle* style = QApplication::style();
  for (const QWidget* widget : window().findChildren<QWidget*>()) {
    EXPECT_EQ(QFontInfo(widget->font()).family(), setting.family)
        << widget->objectName().toStdString();
    EXPECT_EQ(widget->style(), style) << widget->objectName().toStdString();
  }
  // Under the program's own and qt6ct's proxies.
  while (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) style = proxy->baseStyle();
  EXPECT_EQ(style->name(), setting.style.toLower());
  EXPECT_DOUBLE_EQ(window().devicePixelRatio(), setting.scale);
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

using SettingRow = std::tuple<const char*, int, const char*, double>;

class UnderDesktopSetting : public ::testing::TestWithParam<SettingRow> {
 protected:
  DesktopSetting Setting() const {
    const auto& [family, points, style, scale] = GetParam();
    return {family, points, style, scale};
  }
};

// qt6ct's own file, written as qt6ct writes it.
void WriteQt6ctConfiguration(const QString& configHome, const DesktopSetting& setting) {
  QSettings qt6ct(configHome + "/qt6ct/qt6ct.conf", QSettings::IniFormat);
  qt6ct.setValue("Appearance/style", setting.style);
  qt6ct.setValue("Fonts/general", QFont(setting.family, setting.points).toString());
  qt6ct.sync();
}

TEST_P(UnderDesktopSetting, EveryTextAndSquareShowsWhole) {
  const DesktopSetting setting = Setting();
  QTemporaryDir configHome;
  ASSERT_TRUE(configHome.isValid());
  WriteQt6ctConfiguration(configHome.path(), setting);
  // A desktop's scaling setting: Xft.dpi in the server's resource database.
  const int dpi = static_cast<int>(std::lround(96 * setting.scale));
  ASSERT_EQ(RunProgram("xprop", {"-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                                 "RESOURCE_MANAGER", QStringLiteral("Xft.dpi:\t%1").arg(dpi)})
                .exitCode,
            0);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE",
                           "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING"}) {
    environment.remove(name);
  }
  environment.insert("XDG_CONFIG_HOME", configHome.path());
  environment.insert("QT_QPA_PLATFORMTHEME", "qt6ct");
  environment.insert("COLFIX_DESKTOP_SETTING", setting.Encoded());
  environment.insert("GTEST_FILTER", "InDesktopSetting.*:EveryCaption/*");
  QProcess run;
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(), {"--gtest_brief=1"});
  ASSERT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  const QString output = QString::fromUtf8(run.readAll());
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  // Every check ran there, none was filtered away.
  EXPECT_TRUE(
      output.contains(QStringLiteral("[  PASSED  ] %1 tests.").arg(1 + std::size(kCaptions))))
      << output.toStdString();
}

std::string SettingName(const ::testing::TestParamInfo<SettingRow>& row) {
  const auto& [family, points, style, scale] = row.param;
  return QStringLiteral("%1_%2pt_%3_x%4")
      .arg(QString(family).remove(' '))
      .arg(points)
      .arg(style)
      .arg(scale)
      .replace('.', '_')
      .toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, UnderDesktopSetting,
    ::testing::Combine(::testing::Values("DejaVu Sans", "Cantarell", "Noto Sans"),
                       ::testing::Range(8, 13), ::testing::Values("Fusion", "Windows"),
                       ::testing::Values(1.0, 1.25, 1.5, 2.0)),
    SettingName);

}  // namespace
}  // namespace colfix::testing
