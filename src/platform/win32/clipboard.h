// The system clipboard, opened with the program's own window. Another program
// often holds the clipboard open for a moment, so opening is retried briefly
// before the operation gives up with a RuntimeError.
#pragma once

#include <windows.h>

#include <string_view>

namespace colfix::win32 {

// Empties the clipboard in every format; the window becomes its owner.
void EmptyClipboardAs(HWND owner);

// Replaces the clipboard's contents with `text` as CF_UNICODETEXT; Windows
// offers it as CF_TEXT and CF_OEMTEXT too.
void PutClipboardText(HWND owner, std::wstring_view text);

}  // namespace colfix::win32
