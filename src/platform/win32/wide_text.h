// Conversions between the window description's char16_t text and the wchar_t
// text of the Win32 API. On Windows both are UTF-16 code units, so each unit
// is copied across as it is; no pointer casts between the two types.
#pragma once

#include <string>
#include <string_view>

namespace colfix::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
  return {text.begin(), text.end()};
}

inline std::u16string FromWide(std::wstring_view text) {
  return {text.begin(), text.end()};
}

// The runtime's error messages are UTF-8; message boxes want UTF-16.
std::wstring WideFromUtf8(std::string_view text);

}  // namespace colfix::win32
