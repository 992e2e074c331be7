#include "system_error.h"

#include <windows.h>

#include "wide_text.h"

namespace colfix::win32 {

RuntimeError SystemError(std::string_view what) {
  const DWORD code = GetLastError();
  // wsprintfW and FormatMessageW are the system's own: Colfix.exe carries no
  // formatting code for a message seen once, if ever.
  wchar_t number[32];
  wsprintfW(number, L" (Windows error %lu", code);
  WideString message = WideFromUtf8(what) + number;
  wchar_t* reason = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  // The system's text ends in a line break, which the message box need not show.
  while (length > 0 && (reason[length - 1] == L'\r' || reason[length - 1] == L'\n')) --length;
  if (length > 0) message.append(L": ").append(reason, length);
  LocalFree(reason);
  return RuntimeError(Utf8FromWide(message.append(L")")).c_str());
}

}  // namespace colfix::win32
