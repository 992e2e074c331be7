// The captions fitted under the desktop settings people use: each font family
// and size a desktop offers, Qt's two styles and each usual scale, set as a
// desktop sets them (qt6ct's configuration, Xft.dpi). Each row starts the layout
// tests again on the display, where caption_fit_test.cpp checks every control.
#include <gtest/gtest.h>

#include <QFont>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <tuple>

#include "wait_factor.h"
#include "x_session_tools.h"

namespace colfix::testing {
namespace {

using Setting = std::tuple<const char*, int, const char*, double>;  // family, points, style, scale

class UnderDesktopSetting : public ::testing::TestWithParam<Setting> {};

TEST_P(UnderDesktopSetting, EveryTextAndSquareShowsWhole) {
  const auto& [family, points, style, scale] = GetParam();
  QTemporaryDir configHome;
  ASSERT_TRUE(configHome.isValid());
  // qt6ct's own file, written as qt6ct writes it.
  const QString written = configHome.filePath("qt6ct/qt6ct.conf");
  QSettings qt6ct(written, QSettings::IniFormat);
  qt6ct.setValue("Appearance/style", style);
  qt6ct.setValue("Fonts/general", QFont(family, points).toString());
  qt6ct.sync();
  // A desktop's scaling setting: Xft.dpi in the server's resource database.
  const QString dpi = QString::number(std::lround(96 * scale));
  ASSERT_EQ(RunProgram("xprop", {"-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                                 "RESOURCE_MANAGER", "Xft.dpi:\t" + dpi})
                .exitCode,
            0);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE",
                           "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING"}) {
    environment.remove(name);
  }
  environment.insert("XDG_CONFIG_HOME", configHome.path());
  environment.insert("QT_QPA_PLATFORMTHEME", "qt6ct");
  environment.insert("COLFIX_DESKTOP_SETTING", written);
  environment.insert("COLFIX_EXPECTED_SCALE", QString::number(scale));
  QProcess run;
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(COLFIX_LAYOUT_TESTS,
            {"--gtest_brief=1", "--gtest_filter=InDesktopSetting.*:EveryCaption/*"});
  ASSERT_TRUE(run.waitForFinished(60000 * WaitFactor()));
  const std::string output = run.readAll().toStdString();
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), 0) << output;
  // Every check ran there (IsInForce and the six captions), none skipped or filtered away.
  EXPECT_NE(output.find("[  PASSED  ] 7 tests."), std::string::npos) << output;
}

std::string SettingName(const ::testing::TestParamInfo<Setting>& row) {
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
