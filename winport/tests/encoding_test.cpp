#include "winport/encoding.h"

#include <gtest/gtest.h>

TEST(Encoding, RoundTripsJapaneseTextAndRejectsBrokenBytesWhenExact) {
  const std::string cp932 = "\x8F\xC1\x94\xEF\x90\xC5\x81\x60\x83\x5C";  // 消費税～ソ
  const std::string utf8 = reinterpret_cast<const char*>(u8"消費税～ソ");
  EXPECT_EQ(winport::Cp932ToUtf8Exact(cp932), utf8);
  EXPECT_EQ(winport::Utf8ToCp932Exact(utf8), cp932);
  EXPECT_EQ(winport::Cp932ToUtf8("\xB1"), reinterpret_cast<const char*>(u8"ｱ"));
  // A lone lead byte at the end is not a character.
  EXPECT_FALSE(winport::Cp932ToUtf8Exact("ab\x83").has_value());
  EXPECT_EQ(winport::Cp932ToUtf8("ab\x83"), "ab?");
  // A character without a code page 932 form. (Kept out of the assertion macros, which
  // stringize their arguments into execution-charset literals.)
  const std::string acute = reinterpret_cast<const char*>(u8"aéb");
  EXPECT_FALSE(winport::Utf8ToCp932Exact(acute).has_value());
  EXPECT_EQ(winport::Utf8ToCp932(acute), "a?b");
}

TEST(Encoding, SourceLiteralsAreCodePage932Bytes) {
  // The whole project compiles with the execution character set CP932.
  EXPECT_EQ(std::string("消費税"), "\x8F\xC1\x94\xEF\x90\xC5");
}
