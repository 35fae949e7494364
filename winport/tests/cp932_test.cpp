#include "winport/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace cp932 = winport::cp932;

TEST(Cp932Tables, LeadAndTrailRangesMatchCodePage932) {
  std::string lead, trail;
  for (int b = 0; b < 256; ++b) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(b))) lead.push_back(static_cast<char>(b));
    if (cp932::IsTrailByte(static_cast<unsigned char>(b))) trail.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(lead.size(), (0x9F - 0x81 + 1u) + (0xFC - 0xE0 + 1u));
  EXPECT_EQ(trail.size(), (0x7E - 0x40 + 1u) + (0xFC - 0x80 + 1u));
  EXPECT_FALSE(cp932::IsLeadByte(0x80));
  EXPECT_FALSE(cp932::IsLeadByte(0xA0));  // half-width katakana are single bytes
  EXPECT_FALSE(cp932::IsLeadByte(0xDF));
  EXPECT_FALSE(cp932::IsLeadByte(0xFD));
  EXPECT_TRUE(cp932::IsTrailByte(0x5C));
  EXPECT_FALSE(cp932::IsTrailByte(0x7F));
}

TEST(Cp932Position, DoubleByteMembershipScansFromTheStart) {
  // "a" + katakana so (83 5C) + "\" ; the trail byte of so is 0x5C.
  const std::string text = "a\x83\x5C\\";
  EXPECT_FALSE(cp932::IsInDoubleByte(text, 0));
  EXPECT_TRUE(cp932::IsInDoubleByte(text, 1));
  EXPECT_TRUE(cp932::IsInDoubleByte(text, 2));
  EXPECT_FALSE(cp932::IsInDoubleByte(text, 3));
  EXPECT_TRUE(cp932::IsTrailPosition(text, 2));
  EXPECT_FALSE(cp932::IsTrailPosition(text, 1));
  // 0x83 0x83 0x5C: the second 0x83 is a trail byte, so the 0x5C stands alone.
  const std::string pair = "\x83\x83\x5C";
  EXPECT_TRUE(cp932::IsTrailPosition(pair, 1));
  EXPECT_FALSE(cp932::IsInDoubleByte(pair, 2));
  // A lead byte at the very end has no trail byte; nor has one before a NUL, so the byte after
  // the NUL stands alone.
  EXPECT_FALSE(cp932::IsInDoubleByte("ab\x95", 2));
  const std::string beforeNul("\x95\0\x5C", 3);
  EXPECT_FALSE(cp932::IsInDoubleByte(beforeNul, 0));
  EXPECT_FALSE(cp932::IsTrailPosition(beforeNul, 1));
  EXPECT_EQ(cp932::FindChar(beforeNul, '\\'), 2u);
  EXPECT_EQ(cp932::CutLength(beforeNul, 1), 1u);
  EXPECT_TRUE(cp932::EndsWithBackslash(beforeNul));
}

TEST(Cp932Tables, AssignedPairsAsTheSystemConvertsThem) {
  const struct {
    unsigned char lead, trail;
    bool assigned;
  } cases[] = {
      {0x81, 0x40, true}, {0x81, 0xAD, false}, {0x82, 0x4F, true},  {0x82, 0x80, false},
      {0x84, 0xBE, true}, {0x85, 0x40, false}, {0x87, 0x5E, false}, {0x88, 0x9E, false},
      {0x88, 0x9F, true}, {0x98, 0x73, false}, {0xEA, 0xA4, true},  {0xEA, 0xA5, false},
      {0xEE, 0xEC, true}, {0xEE, 0xED, false}, {0xEF, 0x40, false}, {0xF0, 0x40, true},
      {0xFC, 0x4B, true}, {0xFC, 0x4C, false}, {0x95, 0x7F, false}, {0x95, 0xFD, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp932::IsAssignedPair(c.lead, c.trail), c.assigned)
        << std::hex << int{c.lead} << " " << int{c.trail};
  }
}

TEST(Cp932Backslash, OnlyARealBackslashEndsThePath) {
  EXPECT_TRUE(cp932::EndsWithBackslash("C:\\"));
  EXPECT_TRUE(cp932::EndsWithBackslash("C:\\dir\\"));
  EXPECT_FALSE(cp932::EndsWithBackslash("C:\\dir"));
  EXPECT_FALSE(cp932::EndsWithBackslash(""));
  EXPECT_FALSE(cp932::EndsWithBackslash("C:\\\x83\x5C"));          // ...so
  EXPECT_TRUE(cp932::EndsWithBackslash("C:\\\x83\x5C\\"));         // ...so\ .
  EXPECT_TRUE(cp932::EndsWithBackslash("C:\\\x83\x83\x5C"));       // trail 0x83, then a backslash
  EXPECT_FALSE(cp932::EndsWithBackslash("C:\\\x95\x5C\x83\x5C"));  // hyo so
}

TEST(Cp932Search, CharacterUnitSearchMatchesMbschrAndMbsrchr) {
  struct Case {
    std::string text;
    unsigned char c;
    std::size_t first, last;
  };
  const auto npos = std::string::npos;
  const Case cases[] = {
      {"C:\\dir\\\x95\x5C", '\\', 2, 6},
      {"\x95\x5C\x83\x5C", '\\', npos, npos},
      {"\x95\x5C\\x", '\\', 2, 2},
      {"C:\\\x83\x5C\\\x83\x5C.txt", '\\', 2, 5},
      {"ab\x95", '\\', npos, npos},
      {"", '\\', npos, npos},
      {"a,b,c", ',', 1, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp932::FindChar(c.text, c.c), c.first) << c.text;
    EXPECT_EQ(cp932::FindLastChar(c.text, c.c), c.last) << c.text;
  }
}

TEST(Cp932Cut, NeverSplitsADoubleByteCharacter) {
  const std::string text = "ab\x8F\xC1\x94\xEF";  // "ab" + two kanji
  EXPECT_EQ(cp932::CutLength(text, 0), 0u);
  EXPECT_EQ(cp932::CutLength(text, 2), 2u);
  EXPECT_EQ(cp932::CutLength(text, 3), 2u);
  EXPECT_EQ(cp932::CutLength(text, 4), 4u);
  EXPECT_EQ(cp932::CutLength(text, 5), 4u);
  EXPECT_EQ(cp932::CutLength(text, 6), 6u);
  EXPECT_EQ(cp932::CutLength(text, 100), 6u);
  EXPECT_EQ(cp932::CutLength("\xB1\xB2\xB3", 2), 2u);  // half-width katakana are single bytes
}

TEST(Cp932Replace, WhatIsNoCharacterBecomesTheMiddleDotAndTheRestStays) {
  const std::string dot = "\x81\x45";
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"ab\x8F\xC1\x83\x5C\xB1\\~", "ab\x8F\xC1\x83\x5C\xB1\\~"},    // well-formed: unchanged
      {"ab\x81", "ab" + dot},                                        // a lone lead byte at the end
      {std::string("\x81\0b", 3), dot + std::string("\0b", 2)},      // a lead byte before NUL
      {"\x85\x40z", dot + "z"},                                      // an unassigned pair, whole
      {"\x81<", dot},                                                // a lead byte takes any byte
      {"\x80\xA0\xFD\xFE\xFFk", dot + dot + dot + dot + dot + "k"},  // unassigned single bytes
      {"\xF0\x40", "\xF0\x40"},                                      // the user-defined area
  };
  for (const auto& c : cases) EXPECT_EQ(cp932::ReplaceMalformed(c.text), c.expected) << c.text;
}
