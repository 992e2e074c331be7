// Test helper: prints a point inside a control of frmMain, as "X Y" pixels from
// the window's client area, so scripts can click it; for frmMain itself, the
// client area's "WIDTH HEIGHT". The point stands half the
// control's height in from its left edge: on a check box that is the box
// itself, which a click anywhere right of the caption would miss. Reads the
// window's own description rather than a copy of its numbers.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "frm_main_description.h"

int main(int argc, char* argv[]) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s CONTROL [DPI]\n", argv[0]);
    return 2;
  }
  const int dpi = argc == 3 ? std::atoi(argv[2]) : 96;
  const colfix::FormDescription& form = colfix::frmMainDescription();
  if (colfix::ControlName(form.name) == std::string_view(argv[1])) {
    std::printf("%d %d\n", colfix::TwipsToPixels(form.clientWidthTwips, dpi),
                colfix::TwipsToPixels(form.clientHeightTwips, dpi));
    return 0;
  }
  for (const auto& control : form.controls) {
    if (colfix::ControlName(control.name) != std::string_view(argv[1])) continue;
    const colfix::TwipsRect rect = colfix::ClientTwips(control.name);
    std::printf("%d %d\n", colfix::TwipsToPixels(rect.left + rect.height / 2, dpi),
                colfix::TwipsToPixels(rect.top + rect.height / 2, dpi));
    return 0;
  }
  std::fprintf(stderr, "frmMain has no control %s\n", argv[1]);
  return 1;
}
