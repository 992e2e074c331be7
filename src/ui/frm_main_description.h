// The fixed description of the program's only window, frmMain: its controls,
// captions, positions in twips, tab order and fonts. Both back ends build their
// window by looping over this, so it holds no toolkit types.
#pragma once

#include <span>
#include <string_view>

#include "runtime.h"

namespace colfix {

enum class ControlKind { Form, GroupFrame, CheckBox, TextField, PushButton, PictureArea };

// Which of the window's two fonts a control uses.
enum class FontRole { Dialog, FrameCaption };

struct FontDescription {
  std::u16string_view family;
  double points;
  int weight;  // 400 regular, 700 bold
  int charset;
};

// Positions are relative to the container's top-left corner.
struct TwipsRect {
  int left, top, width, height;
};

struct ControlDescription {
  Control name;
  ControlKind kind;
  Control container;
  std::u16string_view caption;
  TwipsRect twips;
  int tabIndex;
  FontRole font;
};

struct FormDescription {
  Control name;
  std::u16string_view caption;
  int clientWidthTwips;
  int clientHeightTwips;
  // The font the layout was drawn around: every control's text fits its box at
  // this size, and Frame1's caption (FontRole::FrameCaption) shows it whole, bold.
  FontDescription layoutFont;
  std::span<const ControlDescription> controls;
};

const FormDescription& frmMainDescription();

// The name the handlers' code spells a window or control with: the back ends
// give it to the native objects, so that tests and tools find them by it.
std::string_view ControlName(Control control);

// The description of one control of frmMain; every Control but frmMain has one.
const ControlDescription& Describe(Control control);

// A control's rectangle relative to the window's client area.
TwipsRect ClientTwips(Control control);

// The controls in tab order (tab index ascending).
std::span<const Control> TabOrder();

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at `dpi`, rounded to nearest: 15 twips make a pixel at 96 dpi.
constexpr int TwipsToPixels(int twips, int dpi) {
  return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

}  // namespace colfix
