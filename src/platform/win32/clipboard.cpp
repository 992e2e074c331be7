// Clipboard writes with a short retry on a clipboard held by another program.
#include "clipboard.h"

#include <cstring>

#include "runtime.h"

namespace colfix::win32 {
namespace {

constexpr int kOpenAttempts = 6;
constexpr DWORD kRetryPauseMs = 20;  // six tries within about 100 ms

// Closes the clipboard on every way out, including a throw.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 1; !OpenClipboard(owner); ++attempt) {
      if (attempt == kOpenAttempts) {
        throw RuntimeError(
            "The clipboard is in use by another program, so the tidied text was not copied. "
            "It is still in the field.");
      }
      Sleep(kRetryPauseMs);
    }
  }
  ~OpenedClipboard() { CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;

  void Empty() {
    if (!EmptyClipboard()) throw RuntimeError("The clipboard could not be emptied.");
  }
};

HGLOBAL GlobalText(std::wstring_view text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) throw RuntimeError("Out of memory for the clipboard's text.");
  void* target = GlobalLock(memory);
  std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
  static_cast<wchar_t*>(target)[text.size()] = L'\0';
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

void EmptyClipboardAs(HWND owner) {
  OpenedClipboard clipboard(owner);
  clipboard.Empty();
}

void PutClipboardText(HWND owner, std::wstring_view text) {
  OpenedClipboard clipboard(owner);
  // Only the clipboard's owner may add data, and another program may have
  // taken ownership since it was emptied, so take it again.
  clipboard.Empty();
  HGLOBAL memory = GlobalText(text);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    GlobalFree(memory);
    throw RuntimeError("The text could not be put on the clipboard.");
  }
}

}  // namespace colfix::win32
