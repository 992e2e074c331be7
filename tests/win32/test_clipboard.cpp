// Clipboard access with a message-only window of the test's own.
#include "test_clipboard.h"

#include <cstring>
#include <stdexcept>

#include "colfix_app.h"

namespace colfix::wintest {
namespace {

// Colfix itself holds the clipboard open for a moment while it writes.
void OpenOrThrow(HWND window) {
  if (!WaitFor([&] { return OpenClipboard(window) != FALSE; }, std::chrono::seconds(2)))
    throw std::runtime_error("the test could not open the clipboard in 2 s");
}

template <typename Char>
void Put(UINT format, const Char* data, std::size_t count) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(Char));
  auto* target = static_cast<Char*>(GlobalLock(memory));
  std::memcpy(target, data, count * sizeof(Char));
  target[count] = Char{};
  GlobalUnlock(memory);
  SetClipboardData(format, memory);
}

template <typename Text>
std::optional<Text> Read(HWND window, UINT format) {
  OpenOrThrow(window);
  std::optional<Text> text;
  if (HANDLE data = GetClipboardData(format)) {
    text = Text(static_cast<const typename Text::value_type*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

}  // namespace

TestClipboard::TestClipboard()
    : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr)),
      markerFormat_(RegisterClipboardFormatW(L"Another program's private data")) {}

TestClipboard::~TestClipboard() {
  Release();
  DestroyWindow(window_);
}

void TestClipboard::Fill(const std::wstring& text, const std::string& marker) {
  OpenOrThrow(window_);
  EmptyClipboard();
  Put(CF_UNICODETEXT, text.c_str(), text.size());
  if (!marker.empty()) Put(markerFormat_, marker.c_str(), marker.size());
  CloseClipboard();
}

std::optional<std::wstring> TestClipboard::Text() const {
  return Read<std::wstring>(window_, CF_UNICODETEXT);
}

std::optional<std::string> TestClipboard::AnsiText() const {
  return Read<std::string>(window_, CF_TEXT);
}

std::optional<std::string> TestClipboard::Marker() const {
  return Read<std::string>(window_, markerFormat_);
}

void TestClipboard::Hold() {
  OpenOrThrow(window_);
  held_ = true;
}

void TestClipboard::Release() {
  if (held_) CloseClipboard();
  held_ = false;
}

}  // namespace colfix::wintest
