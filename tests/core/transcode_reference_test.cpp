// The tidying rule: a table of edge cases in UTF-16 and UTF-8, and a randomized
// check against the rule's three steps written out plainly.
#include "transcode_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "row_name.h"

namespace colfix {
namespace {

struct Case {
  const char* name;
  std::u16string input;
  std::u16string expected;
};

const Case kCases[] = {
    {"Empty", u"", u""},
    {"OnlySpaces", u"   ", u""},
    {"LoneColonDropped", u":", u""},
    {"ColonAmidSpacesDropped", u"  :  ", u""},
    {"TwoColonsLastDropped", u"::", u"_"},
    {"TrailingColonDropped", u"AB:12:34:", u"AB_12_34"},
    {"SpacesTrimmedWithoutTrailingColon", u" AB:12:34 ", u"AB_12_34"},
    {"SpacesTrimmedThenColonDropped", u" AB:12:34: ", u"AB_12_34"},
    {"ColonBeforeTrailingSpaceDropped", u"AB: ", u"AB"},
    {"SpaceBeforeTrailingColonKept", u"AB :", u"AB "},
    {"TrailingSpaceTrimmed", u"AB ", u"AB"},
    {"LeadingColonReplaced", u":AB", u"_AB"},
    {"InnerSpaceKept", u"A B:C", u"A B_C"},
    {"TrailingTabNotTrimmed", u"AB:\t", u"AB_\t"},
    {"LeadingTabNotTrimmed", u"\tAB:", u"\tAB"},
    {"NoColonUnchanged", u"AB12", u"AB12"},
    {"UnderscoreKept", u"A_B:", u"A_B"},
    {"TrailingUnderscoreKept", u"A_B_", u"A_B_"},
    {"OnlyOneOfTrailingColonsDropped", u"AB:::", u"AB__"},
    {"NoBreakSpaceIsNotASpace", u"\u00A0AB:\u00A0", u"\u00A0AB_\u00A0"},
    {"FullWidthColonIsNotAColon", u"AB\uFF1A", u"AB\uFF1A"},
    {"IdeographicSpaceNotTrimmed", u"\u3000AB:\u3000", u"\u3000AB_\u3000"},
    {"TrailingNewlineNotTrimmed", u"AB:\n", u"AB_\n"},
    {"InnerLineBreakKept", u"AB\r\nCD:", u"AB\r\nCD"},
    {"NulPassesThrough", std::u16string(u"A\0:B:", 5), std::u16string(u"A\0_B", 4)},
    {"LoneSurrogatesPassThrough", u"\xD800:\xDC00:", u"\xD800_\xDC00"},
    {"LoneSurrogateBeforeTrailingSpace", u"\xDC00 ", u"\xDC00"},
    {"SurrogatePairKept", u" \U0001F527:wrench: ", u"\U0001F527_wrench"},
};

class TranscodeReferenceTable : public ::testing::TestWithParam<Case> {};

TEST_P(TranscodeReferenceTable, Utf16) {
  EXPECT_EQ(TranscodeReference(std::u16string_view{GetParam().input}), GetParam().expected);
}

std::string ToUtf8(std::u16string_view text) {
  // Enough for the table: BMP characters and well-formed pairs; a lone
  // surrogate is encoded as its three bytes, which the rule passes through.
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TEST_P(TranscodeReferenceTable, Utf8) {
  EXPECT_EQ(TranscodeReference(std::string_view{ToUtf8(GetParam().input)}),
            ToUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, TranscodeReferenceTable, ::testing::ValuesIn(kCases),
                         testing::RowName());

TEST(TranscodeReference, IsNotAlwaysIdempotent) {
  const auto once = TranscodeReference(std::u16string_view{u"AB :"});
  EXPECT_EQ(once, u"AB ");
  EXPECT_EQ(TranscodeReference(std::u16string_view{once}), u"AB");
}

TEST(TranscodeReference, ReusedOutputIsOverwritten) {
  std::u16string out = u"left over from before";
  TranscodeReference(std::u16string_view{u" X:Y: "}, out);
  EXPECT_EQ(out, u"X_Y");
  TranscodeReference(std::u16string_view{u"   "}, out);
  EXPECT_EQ(out, u"");
}

// The three steps, written out one character at a time.
std::u16string Plainly(const std::u16string& input) {
  std::u16string text = input;
  while (!text.empty() && text.front() == u' ') text.erase(0, 1);
  while (!text.empty() && text.back() == u' ') text.pop_back();
  if (!text.empty() && text.back() == u':') text.pop_back();
  for (auto& c : text) {
    if (c == u':') c = u'_';
  }
  return text;
}

TEST(TranscodeReference, AgreesWithTheStepsOnRandomText) {
  // Mostly spaces and colons, so that every branch is taken often.
  const char16_t alphabet[] = {u' ', u' ', u':', u':', u'_', u'A', u'7', u'\t',
                               u'\0', u'\u00A0', u'\u3000', u'\uFF1A', u'\xD800', u'\xDFFF'};
  std::mt19937 random(20261207);
  std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
  std::uniform_int_distribution<size_t> length(0, 24);
  for (int round = 0; round < 100'000; ++round) {
    std::u16string input(length(random), u'\0');
    for (auto& c : input) c = alphabet[pick(random)];

    const std::u16string result = TranscodeReference(std::u16string_view{input});
    ASSERT_EQ(result, Plainly(input)) << "round " << round;

    const auto firstKept = input.find_first_not_of(u' ');
    const size_t trimmed =
        firstKept == std::u16string::npos
            ? input.size()
            : firstKept + (input.size() - 1 - input.find_last_not_of(u' '));
    const size_t left = input.size() - trimmed;
    ASSERT_TRUE(result.size() == left || result.size() + 1 == left) << "round " << round;
    ASSERT_EQ(result.find(u':'), std::u16string::npos);
  }
}

}  // namespace
}  // namespace colfix
