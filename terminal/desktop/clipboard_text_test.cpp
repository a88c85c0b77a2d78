#include "terminal/desktop/clipboard_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using terminal::desktop::ClipboardFromLatin1;
using terminal::desktop::ClipboardFromUtf8;
using terminal::desktop::ClipboardToLatin1;
using terminal::desktop::ClipboardToUtf8;

TEST(ClipboardText, EveryCharacterOfTheCodePageGoesOutAndComesBackAsItWas) {
  for (int c = 0x20; c <= 0xFF; ++c) {
    if (c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) continue;  // no characters
    const std::string one(1, static_cast<char>(c));
    const std::string utf8 = ClipboardToUtf8(one);
    EXPECT_TRUE(c == '?' || utf8 != "?") << "byte " << c;
    EXPECT_EQ(ClipboardFromUtf8(utf8), one) << "byte " << c;
    if (c >= 0xA0 || c < 0x80) {
      EXPECT_EQ(ClipboardFromLatin1(ClipboardToLatin1(one)), one) << "byte " << c;
    }
  }
  EXPECT_EQ(ClipboardToUtf8("\x80 5"), "\xE2\x82\xAC 5");
}

TEST(ClipboardText, LinesEndInLineFeedsOutsideAndCarriageReturnLineFeedsInside) {
  EXPECT_EQ(ClipboardToUtf8("HNI\tnse_fo\t\r\nHNI\tbse\t\r\n"), "HNI\tnse_fo\t\nHNI\tbse\t\n");
  EXPECT_EQ(ClipboardToLatin1("a\r\nb\rc\nd"), "a\nb\rc\nd") << "a carriage return alone is kept";
  EXPECT_EQ(ClipboardFromUtf8("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(ClipboardFromLatin1("\nx"), "\r\nx");
}

TEST(ClipboardText, WhatTheOtherSideCannotHoldBecomesAQuestionMarkAndNothingElseIsLost) {
  EXPECT_EQ(ClipboardFromUtf8("\xE6\x97\xA5 1550.00"), "? 1550.00") << "a character the code page lacks";
  // Both sides of each lead byte's edge: a character the code page lacks is
  // one '?' whatever its length; a byte that starts no sequence is one '?',
  // and so is each byte after it.
  const std::pair<std::string, std::string> leads[] = {
      {"\xC1\x81", "??"},    {"\xC2\x81", "?"},         {"\xDF\xBF", "?"},         {"\xE0\xA4\xA8", "?"},
      {"\xEF\xBC\xA1", "?"}, {"\xF0\x9F\x98\x80", "?"}, {"\xF4\x8F\xBF\xBF", "?"}, {"\xF5\x80\x80\x80", "????"},
      {"\xFF\xFE", "??"}};
  for (const auto& [utf8, windows] : leads) EXPECT_EQ(ClipboardFromUtf8(utf8 + " ok"), windows + " ok") << utf8;
  EXPECT_EQ(ClipboardFromUtf8("ok\xC3"), "ok?") << "a sequence cut at the end";
  EXPECT_EQ(ClipboardToLatin1("\x80 5"), "? 5") << "the euro is not in ISO 8859-1";
  const std::string big(100000, 'x');
  EXPECT_EQ(ClipboardToUtf8(big), big) << "longer than one pass through the converter";
}

}  // namespace
