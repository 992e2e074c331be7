// Window creation, message routing (`this` stored at WM_NCCREATE) and the text
// field's subclass that reports mouse-button releases.
#include "main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "dpi.h"
#include "frm_main_placement.h"
#include "resource_ids.h"
#include "system_error.h"
#include "wide_text.h"

namespace colfix::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ColfixMainWindow";
constexpr UINT_PTR kFieldSubclassId = 1;

// A fixed dialog frame with a close box and no minimise or maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

// The button and modifier bit sets of a mouse event.
int ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONUP:
      return kRightButton;
    case WM_MBUTTONUP:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

int ShiftOf(WPARAM keys) {
  return ((keys & MK_SHIFT) != 0 ? kShiftMask : 0) | ((keys & MK_CONTROL) != 0 ? kCtrlMask : 0) |
         (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

HICON ApplicationIcon(HINSTANCE instance, int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_COLFIX), IMAGE_ICON, size, size, LR_SHARED));
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
  RegisterWindowClass(instance, &MainWindow::WindowProc);
  const FormDescription& form = frmMainDescription();
  CreateWindowExW(kExStyle, kWindowClass, ToWide(form.caption).c_str(), kStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (window_ == nullptr) throw SystemError("The window could not be created.");
  runtime_.Attach(Control::frmMain, window_);
  // The title bar's, the taskbar's and Alt+Tab's icon.
  SendMessageW(window_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(ApplicationIcon(instance, SM_CXICON)));
  SendMessageW(window_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ApplicationIcon(instance, SM_CXSMICON)));
  CreateControls(window_, instance, runtime_);
  if (!SetWindowSubclass(runtime_.Window(Control::txtTranscode), &MainWindow::FieldProc,
                         kFieldSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    throw RuntimeError("The text field could not be set up.");
  }

  // Centred on the work area of the screen the window is on.
  dpi_ = WindowDpi(window_);
  LayOut(dpi_);
  const SIZE size = WindowSize(dpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window_, nullptr, CentredStart(work.left, work.right - work.left, size.cx),
               CentredStart(work.top, work.bottom - work.top, size.cy), size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
}

bool MainWindow::TranslateDialogMessage(MSG& message) {
  return IsDialogMessageW(window_, &message) != FALSE;
}

SIZE MainWindow::WindowSize(int dpi) const {
  const FormDescription& form = frmMainDescription();
  const RECT client{0, 0, TwipsToPixels(form.clientWidthTwips, dpi),
                    TwipsToPixels(form.clientHeightTwips, dpi)};
  const RECT outer = WindowRectForClient(client, kStyle, kExStyle, dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void MainWindow::LayOut(int dpi) {
  // The new fonts are in place before the old ones go.
  auto fonts = std::make_unique<ControlFonts>(dpi);
  LayOutControls(runtime_, *fonts, instance_, dpi);
  fonts_ = std::move(fonts);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        // Enter and Escape arrive as IDOK and IDCANCEL, which match no control.
        if (const auto control = ControlForCommandId(LOWORD(wParam))) {
          form_.Raise(*control, Event::Click);
        }
      }
      return 0;
    // The close box, Alt+F4, Close on the system menu and cmdExit all come here.
    case WM_CLOSE:
      form_.Raise(Control::frmMain, Event::Unload);
      return 0;
    // Windows only asks before a log-off or shutdown, and another program may
    // still cancel it; the program ends, through Form_Unload, once it happens.
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE) form_.Raise(Control::frmMain, Event::Unload);
      return 0;
    case WM_ACTIVATE:
      // A plain window forgets its focused control when it is deactivated.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ != nullptr) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      LayOut(dpi_);
      // Our own size for the new DPI, at the position Windows suggests.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      const SIZE size = WindowSize(dpi_);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*subclassId*/, DWORD_PTR self) {
  return reinterpret_cast<MainWindow*>(self)->HandleFieldMessage(field, message, wParam, lParam);
}

LRESULT MainWindow::HandleFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
      // Every release is reported after the field's own handling: that ends a
      // drag-select's mouse capture, and the right button's opens the context
      // menu and carries out the command chosen there before it returns, so a
      // Paste from the menu is tidied and, with auto-copy ticked, the clipboard
      // is not replaced by the field before the menu pastes from it.
      inButtonUp_ = true;
      const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
      inButtonUp_ = false;
      RaiseFieldMouseUp(message, wParam, lParam);
      return result;
    }
    case WM_CONTEXTMENU: {
      inFieldContextMenu_ = true;
      const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
      inFieldContextMenu_ = false;
      return result;
    }
    case WM_PASTE: {
      const LRESULT result = DefSubclassProc(field, message, wParam, lParam);
      // A Paste from a menu opened with the keyboard is tidied at once (one
      // opened by the right button is tidied by its release, just after);
      // Ctrl+V alone is left as typed.
      if (inFieldContextMenu_ && !inButtonUp_) form_.Raise(Control::txtTranscode, Event::MenuPaste);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(field, &MainWindow::FieldProc, kFieldSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

void MainWindow::RaiseFieldMouseUp(UINT message, WPARAM wParam, LPARAM lParam) {
  form_.Raise(Control::txtTranscode, Event::MouseUp,
              MouseArgsFromPixels(ButtonOf(message), ShiftOf(wParam), GET_X_LPARAM(lParam),
                                  GET_Y_LPARAM(lParam), dpi_));
}

}  // namespace colfix::win32
