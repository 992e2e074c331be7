// Conversions between the window description's char16_t text and the wchar_t
// text of the Win32 API. On Windows both are UTF-16 code units, so each unit
// is copied across as it is; no pointer casts between the two types.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace colfix::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

// std::allocator under a name of our own, so that WideString is not std::wstring.
// GCC 16's headers declare std::wstring compiled in the C++ runtime for C++20 code
// too (older ones did so up to C++17), and the first of its members called links
// that whole object into Colfix.exe, about 33 KB: the PE linker keeps every
// function its unwind tables list. A string type of our own is compiled where it
// is used, only the members called, as std::u16string is.
template <typename T>
struct WideAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
};

using WideString = std::basic_string<wchar_t, std::char_traits<wchar_t>, WideAllocator<wchar_t>>;

inline WideString ToWide(std::u16string_view text) {
  return {text.begin(), text.end()};
}

inline std::u16string FromWide(std::wstring_view text) {
  return {text.begin(), text.end()};
}

// The runtime's error messages are UTF-8; message boxes want UTF-16.
WideString WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace colfix::win32
