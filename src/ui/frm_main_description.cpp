// frmMain as data: the one place that says what the window looks like.
#include "frm_main_description.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace colfix {
namespace {

// One control a row, as a table reads.
// clang-format off
constexpr std::array kControls = {
    ControlDescription{Control::Picture1, ControlKind::PictureArea, Control::frmMain, u"",
                       {240, 300, 480, 480}, 6, FontRole::Dialog},
    ControlDescription{Control::cmdExit, ControlKind::PushButton, Control::frmMain, u"Exit",
                       {6240, 2040, 1095, 375}, 5, FontRole::Dialog},
    ControlDescription{Control::Frame1, ControlKind::GroupFrame, Control::frmMain,
                       u"Paste the service reference in the textfield", {960, 180, 6555, 1755}, 0,
                       FontRole::FrameCaption},
    ControlDescription{Control::chkOntop, ControlKind::CheckBox, Control::Frame1, u"Stay on top",
                       {300, 420, 5895, 195}, 1, FontRole::Dialog},
    ControlDescription{Control::chkAutoCopy, ControlKind::CheckBox, Control::Frame1,
                       u"Automatic text copy to clipboard after paste", {300, 660, 5895, 195}, 4,
                       FontRole::Dialog},
    ControlDescription{Control::txtTranscode, ControlKind::TextField, Control::Frame1, u"",
                       {300, 1140, 4755, 285}, 3, FontRole::Dialog},
    ControlDescription{Control::cmdclear, ControlKind::PushButton, Control::Frame1, u"Clear",
                       {5220, 1080, 1095, 375}, 2, FontRole::Dialog},
};
// clang-format on

// Back ends build the controls in this order, each into its container.
constexpr bool ContainersComeBeforeTheirControls() {
  for (auto control = kControls.begin(); control != kControls.end(); ++control) {
    const bool containerBuilt =
        control->container == Control::frmMain ||
        std::any_of(kControls.begin(), control,
                    [control](const auto& built) { return built.name == control->container; });
    if (!containerBuilt) return false;
  }
  return true;
}
static_assert(ContainersComeBeforeTheirControls(),
              "a control's container must come before it in frmMain's description");

constexpr auto kTabOrder = [] {
  auto sorted = kControls;
  std::sort(sorted.begin(), sorted.end(),
            [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
  std::array<Control, kControls.size()> names{};
  std::transform(sorted.begin(), sorted.end(), names.begin(), [](const auto& c) { return c.name; });
  return names;
}();

constexpr FormDescription kFrmMain{
    Control::frmMain, u"Colfix", 7695, 2520, FontDescription{u"MS Sans Serif", 8.25, 700, 0},
    kControls,
};

}  // namespace

const FormDescription& frmMainDescription() {
  return kFrmMain;
}

std::string_view ControlName(Control control) {
  switch (control) {
    case Control::frmMain:
      return "frmMain";
    case Control::Frame1:
      return "Frame1";
    case Control::chkOntop:
      return "chkOntop";
    case Control::chkAutoCopy:
      return "chkAutoCopy";
    case Control::txtTranscode:
      return "txtTranscode";
    case Control::cmdclear:
      return "cmdclear";
    case Control::cmdExit:
      return "cmdExit";
    case Control::Picture1:
      return "Picture1";
  }
  throw std::invalid_argument("no such control");
}

const ControlDescription& Describe(Control control) {
  const auto found = std::find_if(kControls.begin(), kControls.end(),
                                  [control](const auto& c) { return c.name == control; });
  if (found == kControls.end()) throw std::invalid_argument("frmMain has no such control");
  return *found;
}

TwipsRect ClientTwips(Control control) {
  TwipsRect rect = Describe(control).twips;
  for (Control outer = Describe(control).container; outer != Control::frmMain;
       outer = Describe(outer).container) {
    rect.left += Describe(outer).twips.left;
    rect.top += Describe(outer).twips.top;
  }
  return rect;
}

std::span<const Control> TabOrder() {
  return kTabOrder;
}

}  // namespace colfix
