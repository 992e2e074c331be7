// The clipboard as another program uses it: filled, read back and held open
// through the Win32 API from the test's own process and window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace colfix::wintest {

class TestClipboard {
 public:
  TestClipboard();
  ~TestClipboard();
  TestClipboard(const TestClipboard&) = delete;
  TestClipboard& operator=(const TestClipboard&) = delete;

  // Replaces the clipboard's contents with `text` and, in a private format of
  // another program, `marker`.
  void Fill(const std::wstring& text, const std::string& marker = {});
  std::optional<std::wstring> Text() const;
  std::optional<std::string> AnsiText() const;
  std::optional<std::string> Marker() const;
  DWORD SequenceNumber() const { return GetClipboardSequenceNumber(); }

  // Keeps the clipboard open, as a busy program does, until Release.
  void Hold();
  void Release();

 private:
  HWND window_;
  UINT markerFormat_;
  bool held_ = false;
};

}  // namespace colfix::wintest
