// Starting Colfix.exe and finding its window among the desktop's windows.
#include "colfix_app.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "control_windows.h"
#include "wait_factor.h"

namespace colfix::wintest {

std::wstring colfixExe;
std::wstring shippedExe;

namespace {

std::chrono::milliseconds Stretched(std::chrono::milliseconds timeout) {
  return timeout * colfix::testing::WaitFactor();
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + Stretched(timeout);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    // A test that filled the clipboard owns it, and whoever empties or asks
    // about it waits (up to 5 s in Wine) for the owner's windows to answer.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

std::wstring MessageText(HWND box) {
  wchar_t text[256] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text control
  return text;
}

DesktopHook::DesktopHook(int type, const char* procedure) : dll_(LoadLibraryW(COLFIX_TEST_HOOKS)) {
  const auto hookProcedure =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(dll_, procedure)));
  hook_ = SetWindowsHookExW(type, hookProcedure, dll_, 0);
  if (hook_ == nullptr) throw std::runtime_error(std::string("cannot set ") + procedure);
}

DesktopHook::~DesktopHook() {
  UnhookWindowsHookEx(hook_);
  FreeLibrary(dll_);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* windowClass;
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM search) {
  auto& wanted = *reinterpret_cast<WindowSearch*>(search);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t windowClass[64] = {};
  GetClassNameW(window, windowClass, 64);
  if (processId == wanted.processId && std::wstring(windowClass) == wanted.windowClass &&
      IsWindowVisible(window) &&
      (wanted.owner == nullptr || GetWindow(window, GW_OWNER) == wanted.owner)) {
    wanted.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* windowClass, HWND owner = nullptr) {
  WindowSearch search{processId, windowClass, owner};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct WindowListing {
  DWORD processId;
  std::string text;
};

BOOL CALLBACK ListWindow(HWND window, LPARAM listing) {
  auto& wanted = *reinterpret_cast<WindowListing*>(listing);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != wanted.processId) return TRUE;
  char windowClass[64] = {};
  char title[128] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  GetWindowTextA(window, title, sizeof title);
  wanted.text += std::string(wanted.text.empty() ? "" : ", ") + windowClass + " '" + title +
                 (IsWindowVisible(window) ? "' shown" : "' hidden");
  return TRUE;
}

// The process's top-level windows as "class 'title' shown|hidden", for a failure
// to say what there was instead of the window waited for.
std::string DescribeProcessWindows(DWORD processId) {
  WindowListing listing{processId, {}};
  EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&listing));
  return listing.text.empty() ? "none" : listing.text;
}

}  // namespace

ColfixApp::ColfixApp(NoWindow) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + colfixExe + L"\"";
  if (!CreateProcessW(colfixExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process_)) {
    throw std::runtime_error("Colfix.exe could not be started");
  }
}

ColfixApp::ColfixApp() : ColfixApp(kNoWindow) {
  // Until the window shows, or the process has ended without one.
  WaitFor(
      [this] {
        window_ = FindProcessWindow(process_.dwProcessId, L"ColfixMainWindow");
        return window_ != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      },
      std::chrono::seconds(30));
  if (window_ == nullptr) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    throw std::runtime_error(
        code == STILL_ACTIVE
            ? "Colfix.exe showed no window, and is still running; its windows: " +
                  DescribeProcessWindows(process_.dwProcessId)
            : "Colfix.exe showed no window, and ended with status " + std::to_string(code));
  }
  threadId_ = GetWindowThreadProcessId(window_, nullptr);
  // Wait until the start-up focus is on a control: the program is then
  // taking input.
  WaitFor([this] { return Focus() != nullptr && Focus() != window_; });
}

ColfixApp::~ColfixApp() {
  if (IsRunning()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND ColfixApp::Get(Control control) const {
  return GetDlgItem(window_, win32::CommandId(control));
}

std::wstring ColfixApp::FieldText() const {
  HWND field = Get(Control::txtTranscode);
  const auto length = SendMessageW(field, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(field, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void ColfixApp::SetFieldText(const std::wstring& text) const {
  SendMessageW(Get(Control::txtTranscode), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ColfixApp::IsTicked(Control checkBox) const {
  return SendMessageW(Get(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ColfixApp::Click(Control control) const {
  SendMessageW(Get(control), BM_CLICK, 0, 0);
}

void ColfixApp::ReleaseOnField(UINT buttonUp) const {
  // Inside the field, as a release over it would be reported.
  PostMessageW(Get(Control::txtTranscode), buttonUp, 0, MAKELPARAM(5, 5));
}

HWND ColfixApp::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

HWND ColfixApp::WaitForMessageBox() const {
  HWND box = nullptr;
  WaitFor([&] {
    box = FindProcessWindow(process_.dwProcessId, L"#32770", window_);
    return box != nullptr;
  });
  return box;
}

DWORD ColfixApp::WaitForExit(std::chrono::milliseconds timeout) const {
  WaitForSingleObject(process_.hProcess, static_cast<DWORD>(Stretched(timeout).count()));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool ColfixApp::IsRunning() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace colfix::wintest
