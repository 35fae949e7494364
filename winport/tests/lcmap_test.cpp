#include "winport/lcmap.h"

#include <gtest/gtest.h>

#include <string>

#include "winport/files.h"

namespace {

std::string FullWidth(const std::string& text) {
  char out[256] = {};
  int n = LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.data(),
                       static_cast<int>(text.size()), out, sizeof out);
  return std::string(out, n > 0 ? static_cast<std::size_t>(n) : 0);
}

struct Case {
  const char* input;
  const char* expected;
};

}  // namespace

// Answers of the Japanese system (through the Win32 oracle) for the characters a company name
// may hold.
TEST(LCMapFullWidth, MapsAsTheJapaneseSystemDoes) {
  const Case cases[] = {
      {"ABC", "\x82\x60\x82\x61\x82\x62"},
      {"abc 123", "\x82\x81\x82\x82\x82\x83\x81\x40\x82\x50\x82\x51\x82\x52"},
      {"A&B", "\x82\x60\x81\x95\x82\x61"},
      {"\xB6\xDE", "\x83\x4B"},                              // ｶﾞ ガ
      {"\xCA\xDF", "\x83\x70"},                              // ﾊﾟ パ
      {"\xB3\xDE", "\x83\x94"},                              // ｳﾞ ヴ
      {"\xB6", "\x83\x4A"},                                  // ｶ カ
      {"\xB6\xDE\xCA\xDF\xB0", "\x83\x4B\x83\x70\x81\x5B"},  // ｶﾞﾊﾟｰ
      {"\xA1\xA2\xA3\xA4\xA5", "\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45"},
      {"\\", "\\"},  // the yen-sign byte is left alone
      {"~", "\x81\x60"},
      {"\"", "\xFA\x57"},
      {"'", "\xFA\x56"},
      {"-", "\x81\x7C"},
      {"\x82\x60\x83\x4A\x82\xA9", "\x82\x60\x83\x4A\x82\xA9"},  // already full width
      {"\x95\x5C\x8E\xA6", "\x95\x5C\x8E\xA6"},                  // 0x5C trail byte untouched
      {"\xC4\xDE\xCE\xDE\xCE\xDF", "\x83\x68\x83\x7B\x83\x7C"},  // ﾄﾞﾎﾞﾎﾟ: ends of the runs
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FullWidth(c.input), c.expected) << c.input;
  }
}

// Where code page 932 has no combined character, the kana and the full-width mark are kept
// apart instead of becoming '?' (the oracle's answer, which loses the name's characters).
TEST(LCMapFullWidth, UncombinableAndLoneMarksStayVisible) {
  const Case cases[] = {
      {"\xDE", "\x81\x4A"},                  // ﾞ ゛
      {"\xDF", "\x81\x4B"},                  // ﾟ ゜
      {"\xB1\xDE", "\x83\x41\x81\x4A"},      // ｱﾞ ア゛
      {"\xDC\xDE", "\x83\x8F\x81\x4A"},      // ﾜﾞ ワ゛ (ヷ is not in code page 932)
      {"\xB6\xDF", "\x83\x4A\x81\x4B"},      // ｶﾟ カ゜
      {"\xDE\xB6\xDE", "\x81\x4A\x83\x4B"},  // a mark never combines backwards
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FullWidth(c.input), c.expected) << c.input;
  }
}

TEST(LCMapFullWidth, LengthsSizeQueriesAndShortBuffers) {
  char out[16] = {};
  // -1 maps and counts the terminator; an explicit length stops before a mark outside it.
  EXPECT_EQ(LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, "ABC", -1, out, sizeof out), 7);
  EXPECT_EQ(LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, "\xB6\xDE", 1, out, sizeof out),
            2);
  EXPECT_EQ(std::string(out, 2), "\x83\x4A");
  EXPECT_EQ(LCMapStringA(0x411, LCMAP_FULLWIDTH, "\xB6\xDE", -1, nullptr, 0), 3);  // size query
  SetLastError(0);
  EXPECT_EQ(LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, "ABC", -1, out, 6), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(LCMapStringA(LOCALE_SYSTEM_DEFAULT, 0x00400000, "ABC", -1, out, sizeof out), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

// Malformed and unassigned double-byte text becomes the replacement character ・ instead of
// reaching a file as invalid code page 932; characters the code page has twice take the form
// Windows prefers (the oracle's answers).
TEST(LCMapFullWidth, MalformedAndDuplicateDoubleBytesAsTheSystemConverts) {
  const struct {
    std::string input;
    int length;  // -1: to and with the terminator
    std::string expected;
  } cases[] = {
      {"A\x82", 2, "\x82\x60\x81\x45"},                     // lone lead byte at the end
      {"A\x82", -1, std::string("\x82\x60\x81\x45\0", 5)},  // ... and the NUL stays
      {"A\x82", -7, std::string("\x82\x60\x81\x45\0", 5)},  // any negative length
      {std::string("\x82\0A", 3), 3, std::string("\x81\x45\0\x82\x60", 5)},
      {"\x82 A", 3, "\x81\x45\x82\x60"},  // an invalid second byte goes with the lead
      {"\x82\n", 2, "\x81\x45"},
      {"\x85\x40", 2, "\x81\x45"},  // unassigned rows and cells
      {"\xEF\x40", 2, "\x81\x45"},
      {"\x82\x40", 2, "\x81\x45"},
      {"\xFC\xFC", 2, "\x81\x45"},
      {"\xEE\xED", 2, "\x81\x45"},
      {"\xED\x40", 2, "\xFA\x5C"},  // NEC-selected IBM extensions, in order
      {"\xED\x63", 2, "\xFA\x80"},
      {"\xEE\x40", 2, "\xFB\x5C"},
      {"\xEE\xEC", 2, "\xFC\x4B"},
      {"\xEE\xEF", 2, "\xFA\x40"},  // small roman numeral one
      {"\xEE\xF9", 2, "\x81\xCA"},  // not sign
      {"\xEE\xFC", 2, "\xFA\x57"},
      {"\x87\x90", 2, "\x81\xE0"},  // NEC row 13 duplicates of JIS symbols
      {"\x87\x9C", 2, "\x81\xBE"},
      {"\xFA\x4A", 2, "\x87\x54"},  // IBM duplicates of NEC characters
      {"\xFA\x58", 2, "\x87\x8A"},
      {"\xF0\x40", 2, "\xF0\x40"},                  // user-defined area unchanged
      {"\xFD\xA0\x80\x7F", 4, "\xFD\xA0\x80\x7F"},  // single bytes unchanged
  };
  for (const auto& c : cases) {
    char out[16] = {};
    int n = LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, c.input.c_str(), c.length, out,
                         sizeof out);
    EXPECT_EQ(std::string(out, n > 0 ? static_cast<std::size_t>(n) : 0), c.expected)
        << c.input << " " << c.length;
  }
}
