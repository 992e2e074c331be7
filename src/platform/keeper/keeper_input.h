// What both clipboard keepers share with Colfix: the text it hands over on
// standard input, and the byte each writes back once the clipboard is theirs.
#pragma once

#include <optional>
#include <string>

namespace colfix {

// The text in the two encodings Qt serves it in.
struct KeptText {
  std::string utf8, latin1;
};

// Reads "<UTF-8 byte count> <Latin-1 byte count>\n", the UTF-8 bytes, then the
// Latin-1 bytes from standard input, and leaves the working folder so as to
// hold none in use. Empty unless the input is whole: a Colfix ended while
// writing it leaves it short.
std::optional<KeptText> TakeTextFromColfix();

// Colfix waits for this byte before it ends, so the clipboard is never left
// without the text; false if Colfix could not be told. Standard output stays
// open for anything more a keeper has to tell.
bool TellColfixClipboardTaken();

}  // namespace colfix
