// frmMain as built by the Qt back end on a real X server: every control's pixel
// rectangle, the client area and the hints the window manager reads, fonts,
// icon, initial state and keyboard behaviour. The run's expected device pixel
// ratio comes from COLFIX_EXPECTED_SCALE (1 at 96 dpi, 2 at a 2x scale).
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>

#include "row_name.h"
#include "shown_window.h"
#include "x_session_tools.h"

namespace colfix::testing {
namespace {

int ExpectedScale() {
  const int scale = qEnvironmentVariableIntValue("COLFIX_EXPECTED_SCALE");
  if (scale < 1) throw std::logic_error("set COLFIX_EXPECTED_SCALE for this run");
  return scale;
}

using WindowLayout = ShownWindow;

TEST_F(WindowLayout, RunsAtTheExpectedScaleWithQtsLogicalDpi) {
  EXPECT_EQ(window().devicePixelRatio(), ExpectedScale());
  EXPECT_EQ(qRound(window().screen()->logicalDotsPerInch()), 96);
}

struct Placement {
  Control control;
  QRect logical;  // in the client area, in pixels at 96 dpi (15 twips a pixel)
};

const Placement kPlacements[] = {
    {Control::Picture1, {16, 20, 32, 32}},     {Control::cmdExit, {416, 136, 73, 25}},
    {Control::Frame1, {64, 12, 437, 117}},     {Control::chkOntop, {84, 40, 393, 13}},
    {Control::chkAutoCopy, {84, 56, 393, 13}}, {Control::txtTranscode, {84, 88, 317, 19}},
    {Control::cmdclear, {412, 84, 73, 25}},
};

class ControlPlacement : public ShownWindow, public ::testing::WithParamInterface<Placement> {};

TEST_P(ControlPlacement, StandsAtItsPixelRectangle) {
  const QWidget& widget = control(GetParam().control);
  const QRect inClientArea(widget.mapTo(&window(), QPoint(0, 0)), widget.size());
  EXPECT_EQ(inClientArea, GetParam().logical);
  const int scale = ExpectedScale();
  const QRect device(inClientArea.topLeft() * widget.devicePixelRatio(),
                     inClientArea.size() * widget.devicePixelRatio());
  EXPECT_EQ(device, QRect(GetParam().logical.topLeft() * scale, GetParam().logical.size() * scale));
}

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlPlacement, ::testing::ValuesIn(kPlacements),
                         ControlRowName());

TEST_F(WindowLayout, ClientAreaIs513By168ScaledOnTheServer) {
  EXPECT_EQ(window().size(), QSize(513, 168));
  EXPECT_EQ(ServerGeometry(window().winId()).size(), QSize(513, 168) * ExpectedScale());
}

TEST_F(WindowLayout, NormalHintsFixTheSize) {
  constexpr std::uint32_t kMinSize = 16, kMaxSize = 32;
  const auto hints = CardinalProperty(window().winId(), "WM_NORMAL_HINTS");
  ASSERT_GE(hints.size(), 9u);
  EXPECT_TRUE(hints[0] & kMinSize);
  EXPECT_TRUE(hints[0] & kMaxSize);
  const std::uint32_t width = 513 * ExpectedScale(), height = 168 * ExpectedScale();
  EXPECT_EQ(hints[5], width);
  EXPECT_EQ(hints[6], height);
  EXPECT_EQ(hints[7], width);
  EXPECT_EQ(hints[8], height);
}

// _MOTIF_WM_HINTS: flags, functions, decorations. With the "all" bit set the
// other bits list what is taken away instead.
bool MotifAllows(std::uint32_t field, std::uint32_t bit) {
  constexpr std::uint32_t kAll = 1;
  return (field & kAll) ? !(field & bit) : (field & bit) != 0;
}

// Qt always marks the window resizable here; the fixed size is carried by the
// normal hints above, which is what window managers go by.
TEST_F(WindowLayout, MotifHintsOfferCloseButNoMinimiseOrMaximise) {
  constexpr std::uint32_t kFunctions = 1, kDecorations = 2;
  constexpr std::uint32_t kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
  constexpr std::uint32_t kDecorTitle = 8, kDecorMinimize = 32, kDecorMaximize = 64;
  const auto hints = CardinalProperty(window().winId(), "_MOTIF_WM_HINTS");
  ASSERT_GE(hints.size(), 3u);
  ASSERT_TRUE(hints[0] & kFunctions);
  ASSERT_TRUE(hints[0] & kDecorations);
  EXPECT_TRUE(MotifAllows(hints[1], kFuncClose));
  EXPECT_TRUE(MotifAllows(hints[1], kFuncMove));
  EXPECT_FALSE(MotifAllows(hints[1], kFuncMinimize));
  EXPECT_FALSE(MotifAllows(hints[1], kFuncMaximize));
  EXPECT_TRUE(MotifAllows(hints[2], kDecorTitle));
  EXPECT_FALSE(MotifAllows(hints[2], kDecorMinimize));
  EXPECT_FALSE(MotifAllows(hints[2], kDecorMaximize));
}

TEST_F(WindowLayout, IsAnOrdinaryTitledTaskbarWindowNotOnTop) {
  const WId id = window().winId();
  EXPECT_EQ(StringProperty(id, "_NET_WM_NAME"), "Colfix");
  EXPECT_EQ(AtomProperty(id, "_NET_WM_WINDOW_TYPE"), QStringList{"_NET_WM_WINDOW_TYPE_NORMAL"});
  const QStringList state = AtomProperty(id, "_NET_WM_STATE");
  EXPECT_FALSE(state.contains("_NET_WM_STATE_SKIP_TASKBAR"));
  EXPECT_FALSE(state.contains("_NET_WM_STATE_ABOVE"));
  EXPECT_TRUE(CardinalProperty(id, "WM_TRANSIENT_FOR").empty());
}

TEST_F(WindowLayout, IsCentredOnTheAvailableArea) {
  const QRect area = window().screen()->availableGeometry();
  const QRect placed = window().geometry();
  EXPECT_LE(std::abs((placed.left() - area.left()) - (area.right() - placed.right())), 1);
  EXPECT_LE(std::abs((placed.top() - area.top()) - (area.bottom() - placed.bottom())), 1);
  // No window manager here: the server's position is the one asked for.
  EXPECT_EQ(ServerGeometry(window().winId()).topLeft(), placed.topLeft() * ExpectedScale());
}

TEST_F(WindowLayout, WindowIconCarriesEveryRenderedSize) {
  const auto icon = CardinalProperty(window().winId(), "_NET_WM_ICON");
  QList<QSize> sizes;
  for (std::size_t at = 0; at + 1 < icon.size(); at += 2 + std::size_t{icon[at]} * icon[at + 1]) {
    sizes << QSize(static_cast<int>(icon[at]), static_cast<int>(icon[at + 1]));
  }
  // Qt renders each size at the device pixel ratio, up to the largest image there is.
  for (const int side : {16, 32, 48, 128}) {
    const int device = std::min(side * ExpectedScale(), 128);
    EXPECT_TRUE(sizes.contains(QSize(device, device))) << device;
  }
}

// The layout was drawn for 8.25-point captions: every caption takes the
// desktop's family at that size, Frame1's in bold, whatever size the desktop uses.
TEST_F(WindowLayout, FrameCaptionIsTheDesktopFamilyBoldAt8Point25) {
  const QFont font = control(Control::Frame1).font();
  EXPECT_EQ(font.family(), QApplication::font().family());
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
  const QFontInfo used(font);
  EXPECT_TRUE(used.bold());
  EXPECT_EQ(used.style(), QFont::StyleNormal);
  EXPECT_FALSE(used.underline());
  EXPECT_FALSE(used.strikeOut());
  EXPECT_EQ(QFontDatabase::isFixedPitch(used.family()), false);
}

class DialogFontControl : public ShownWindow, public ::testing::WithParamInterface<Control> {};

TEST_P(DialogFontControl, UsesTheDesktopFamilyAt8Point25RegularDespiteTheBoldFrame) {
  const QWidget& widget = control(GetParam());
  const QFontInfo used(widget.font());
  EXPECT_FALSE(used.bold());
  EXPECT_EQ(widget.font().family(), QApplication::font(&widget).family());
  EXPECT_DOUBLE_EQ(widget.font().pointSizeF(), 8.25);
}

INSTANTIATE_TEST_SUITE_P(EveryOtherControl, DialogFontControl,
                         ::testing::Values(Control::chkOntop, Control::chkAutoCopy,
                                           Control::txtTranscode, Control::cmdclear,
                                           Control::cmdExit, Control::Picture1),
                         ControlRowName());

TEST_F(WindowLayout, Picture1ShowsTheIconAtNaturalSizeOnTheWindowBackground) {
  auto& picture = control<QLabel>(Control::Picture1);
  EXPECT_EQ(picture.frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(picture.autoFillBackground());
  EXPECT_EQ(picture.pixmap().deviceIndependentSize(), QSizeF(32, 32));

  const QImage rendered = window().grab().toImage();
  const QImage icon = QImage(":/icons/colfix-32.png").convertToFormat(QImage::Format_ARGB32);
  const QColor background = window().palette().color(QPalette::Window);
  const int scale = ExpectedScale();
  int transparent = 0, opaque = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QColor drawn = rendered.pixelColor(QPoint(16 + x, 20 + y) * scale);
      const QColor source = icon.pixelColor(x, y);
      if (source.alpha() == 0) {
        ++transparent;
        EXPECT_EQ(drawn.rgb(), background.rgb()) << x << "," << y;
      } else if (source.alpha() == 255 && scale == 1) {
        ++opaque;
        EXPECT_EQ(drawn.rgb(), source.rgb()) << x << "," << y;
      }
    }
  }
  EXPECT_GT(transparent, 0);
  if (scale == 1) {
    EXPECT_GT(opaque, 0);
  }
}

TEST_F(WindowLayout, StartsUntickedEmptyWithFocusOnStayOnTop) {
  for (const Control box : {Control::chkOntop, Control::chkAutoCopy}) {
    EXPECT_EQ(control<QCheckBox>(box).checkState(), Qt::Unchecked);
    EXPECT_FALSE(control<QCheckBox>(box).isTristate());
  }
  auto& field = control<QLineEdit>(Control::txtTranscode);
  EXPECT_TRUE(field.text().isEmpty());
  EXPECT_FALSE(field.isReadOnly());
  EXPECT_TRUE(field.isEnabled());
  EXPECT_GT(field.maxLength(), 1'000'000);
  EXPECT_EQ(QApplication::focusWidget(), &control(Control::chkOntop));
}

struct TabCase {
  const char* name;
  const char* key;
  std::vector<Control> visits;  // from chkOntop, one key press per step
};

const TabCase kTabCases[] = {
    {"Forward",
     "Tab",
     {Control::cmdclear, Control::txtTranscode, Control::chkAutoCopy, Control::cmdExit,
      Control::chkOntop}},
    {"Backward",
     "shift+Tab",
     {Control::cmdExit, Control::chkAutoCopy, Control::txtTranscode, Control::cmdclear,
      Control::chkOntop}},
};

class TabOrderCase : public ShownWindow, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrderCase, MovesThroughTheControlsAndWraps) {
  ASSERT_EQ(QApplication::focusWidget(), &control(Control::chkOntop));
  for (const Control next : GetParam().visits) {
    Key(GetParam().key);
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == &control(next); }))
        << "expected " << ControlName(next) << ", focus on "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : "nothing");
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, TabOrderCase, ::testing::ValuesIn(kTabCases), RowName());

// Keys that would act through a default or cancel button or an access key.
class InertKeys : public ShownWindow, public ::testing::WithParamInterface<Control> {};

TEST_P(InertKeys, EnterEscapeAndAltLettersChangeNothing) {
  QWidget& focused = control(GetParam());
  focused.setFocus();
  ASSERT_TRUE(WaitFor([&] { return focused.hasFocus(); }));
  auto& field = control<QLineEdit>(Control::txtTranscode);
  field.setText(" AB:1: ");
  // pressed, not clicked: a button's access key presses it at once but reports
  // the click only 100 ms later.
  QList<std::shared_ptr<QSignalSpy>> presses;
  for (auto* button : window().findChildren<QAbstractButton*>()) {
    presses << std::make_shared<QSignalSpy>(button, &QAbstractButton::pressed);
  }

  QStringList keys{"Return", "KP_Enter", "Escape"};
  // No access keys; in the field itself Qt types Alt+letter as the letter.
  if (GetParam() != Control::txtTranscode)
    keys << "alt+s"
         << "alt+a"
         << "alt+c"
         << "alt+e"
         << "alt+x";
  for (const QString& key : keys) Key(key);
  HandleInputSentSoFar(window());

  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(focused.hasFocus());
  EXPECT_EQ(field.text(), " AB:1: ");
  for (const auto& spy : presses) EXPECT_EQ(spy->count(), 0);
}

INSTANTIATE_TEST_SUITE_P(FocusOnEachControl, InertKeys,
                         ::testing::Values(Control::chkOntop, Control::cmdclear,
                                           Control::txtTranscode, Control::chkAutoCopy,
                                           Control::cmdExit),
                         ControlRowName());

}  // namespace
}  // namespace colfix::testing
