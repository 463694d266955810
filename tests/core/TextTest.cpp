#include <gtest/gtest.h>

#include "platform/core/Text.h"

using namespace vandrel;

TEST(Text, Utf8AndUtf16RoundTrip) {
  const std::string samples[] = {"", "abc", "农历四月初五", "€", "𝄞 clef", "mixed 宋体 text"};
  for (const auto& s : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
  EXPECT_EQ(Utf8ToUtf16("农"), u"农");
  EXPECT_EQ(Utf8ToUtf16("𝄞"), std::u16string({char16_t(0xD834), char16_t(0xDD1E)}));
  EXPECT_EQ(Utf8Length("农历x"), 3u);
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE5\x86"), u"\uFFFD\uFFFD");     // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");     // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, CaseInsensitiveComparisonIsAsciiOnly) {
  EXPECT_TRUE(SameText("TEmp", "temp"));
  EXPECT_TRUE(SameText("empName", "EmpName"));
  EXPECT_FALSE(SameText("temp", "temps"));
  // Every pair of bytes: only A-Z and a-z fold, never '@' and '`', '[' and '{' or bytes above 127.
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      const std::string x = {'n', char(a)}, y = {'N', char(b)};
      ASSERT_EQ(SameText(x, y), AsciiLower(char(a)) == AsciiLower(char(b))) << a << " " << b;
    }
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_TRUE(StartsText("SOFT", "software"));
  EXPECT_EQ(UpperCase("Ab农"), "AB农");
  EXPECT_EQ(Trim("  x y \t"), "x y");
}
