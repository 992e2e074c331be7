// Runs the Windows tests: reads where Colfix.exe is from --colfix=PATH (and
// --shipped=PATH for the 32-bit program's resources), then GoogleTest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "colfix_app.h"

int main(int argc, char** argv) {
  // Positions and sizes are read in real pixels, as Colfix lays them out.
  SetProcessDPIAware();
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const auto value = [&](std::string_view name) {
      return std::wstring(argument.begin() + static_cast<std::ptrdiff_t>(name.size()),
                          argument.end());
    };
    if (argument.starts_with("--colfix=")) colfix::wintest::colfixExe = value("--colfix=");
    if (argument.starts_with("--shipped=")) colfix::wintest::shippedExe = value("--shipped=");
  }
  if (colfix::wintest::colfixExe.empty()) {
    fprintf(stderr, "usage: colfix_win32_tests --colfix=PATH [--shipped=PATH] [gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
