// The rule that tidies a pasted service reference: trim outer spaces, drop one
// trailing colon, turn every other colon into an underscore.
//
// Header-only and free of any toolkit. One template serves every code unit
// type: the rule only looks at U+0020 and U+003A, which are single code units
// in UTF-8 and UTF-16 alike and never occur inside a multi-unit sequence, so
// everything else (surrogates, NULs, multi-byte sequences) passes through as is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace colfix {

// Writes the tidy form of `text` into `out`, reusing its storage.
template <typename CharT>
void TranscodeReference(std::basic_string_view<CharT> text, std::basic_string<CharT>& out) {
  // Only U+0020 counts as a space, under every locale. The ideographic space
  // U+3000 is deliberately not trimmed, so the result never depends on locale.
  constexpr CharT kSpace = CharT{0x20};
  constexpr CharT kColon = CharT{0x3A};
  constexpr CharT kUnderscore = CharT{0x5F};

  const auto first = text.find_first_not_of(kSpace);
  if (first == std::basic_string_view<CharT>::npos) {
    out.clear();
    return;
  }
  const auto last = text.find_last_not_of(kSpace);
  auto kept = text.substr(first, last - first + 1);
  // Exactly one colon goes, and nothing is trimmed after it.
  if (kept.back() == kColon) kept.remove_suffix(1);

  // One pass that copies and replaces together, with no branch per unit, so the
  // compiler vectorises it and a reused `out` costs little more than a memcpy.
  // `resize` keeps the storage when it is already large enough.
  out.resize(kept.size());
  std::transform(kept.begin(), kept.end(), out.begin(),
                 [](CharT unit) { return unit == kColon ? kUnderscore : unit; });
}

template <typename CharT>
std::basic_string<CharT> TranscodeReference(std::basic_string_view<CharT> text) {
  std::basic_string<CharT> out;
  TranscodeReference(text, out);
  return out;
}

inline std::u16string TranscodeReference(std::u16string_view text) {
  return TranscodeReference<char16_t>(text);
}

inline std::string TranscodeReference(std::string_view text) {
  return TranscodeReference<char>(text);
}

}  // namespace colfix
