// Window classes and styles for each kind of control, and their placement.
#include "control_windows.h"

#include <cmath>

#include "dpi.h"
#include "resource_ids.h"
#include "system_error.h"
#include "wide_text.h"
#include "win32_runtime.h"

namespace colfix::win32 {
namespace {

constexpr int kFirstCommandId = 100;

// A typed or pasted text may be as long as the user likes; the default limit
// of an edit control is 32,767 characters.
constexpr WPARAM kUnlimitedText = 0x7FFFFFFE;

struct NativeKind {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

NativeKind NativeKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::GroupFrame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::TextField:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    // The picture shows no focus and reacts to no key, so Tab passes it over.
    case ControlKind::PictureArea:
      return {L"STATIC", SS_ICON, 0};
    case ControlKind::Form:
      break;
  }
  return {L"STATIC", 0, 0};
}

LONG FontHeight(double points, int dpi) {
  return -std::lround(points * dpi / 72.0);
}

}  // namespace

int CommandId(Control control) {
  return kFirstCommandId + static_cast<int>(control);
}

std::optional<Control> ControlForCommandId(int id) {
  for (const ControlDescription& control : frmMainDescription().controls) {
    if (CommandId(control.name) == id) return control.name;
  }
  return std::nullopt;
}

void CreateControls(HWND form, HINSTANCE instance, Win32Runtime& runtime) {
  for (const Control name : TabOrder()) {
    const ControlDescription& control = Describe(name);
    const NativeKind native = NativeKindOf(control.kind);
    // Every control is the form's own child, even those drawn inside Frame1:
    // a group box passes no notifications on to its parent.
    HWND window = CreateWindowExW(
        native.exStyle, native.windowClass, ToWide(control.caption).c_str(),
        WS_CHILD | WS_VISIBLE | native.style, 0, 0, 0, 0, form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandId(name))), instance, nullptr);
    if (window == nullptr) throw SystemError("The window's controls could not be created.");
    runtime.Attach(name, window);
  }
  SendMessageW(runtime.Window(Control::txtTranscode), EM_SETLIMITTEXT, kUnlimitedText, 0);
}

ControlFonts::ControlFonts(int dpi) {
  // The default GUI font is made for the system DPI; scale it to the window's.
  LOGFONTW dialog{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof dialog, &dialog);
  dialog.lfHeight = MulDiv(dialog.lfHeight, dpi, SystemDpi());
  dialog_ = CreateFontIndirectW(&dialog);

  const FontDescription& caption = frmMainDescription().layoutFont;
  frameCaption_ =
      CreateFontW(FontHeight(caption.points, dpi), 0, 0, 0, caption.weight, FALSE, FALSE, FALSE,
                  static_cast<DWORD>(caption.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, ToWide(caption.family).c_str());
}

ControlFonts::~ControlFonts() {
  DeleteObject(dialog_);
  DeleteObject(frameCaption_);
}

void LayOutControls(const Win32Runtime& runtime, const ControlFonts& fonts, HINSTANCE instance,
                    int dpi) {
  for (const ControlDescription& control : frmMainDescription().controls) {
    HWND window = runtime.Window(control.name);
    const TwipsRect twips = ClientTwips(control.name);
    const int width = TwipsToPixels(twips.width, dpi);
    const int height = TwipsToPixels(twips.height, dpi);
    if (control.kind == ControlKind::PictureArea) {
      // The icon at its natural size for this DPI; a static control sizes
      // itself to its icon, so it is placed afterwards.
      const auto icon = static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(IDI_COLFIX), IMAGE_ICON, width, height, LR_SHARED));
      SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.For(control.font)), FALSE);
    MoveWindow(window, TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi), width, height,
               TRUE);
  }
}

}  // namespace colfix::win32
