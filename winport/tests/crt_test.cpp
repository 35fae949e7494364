#include "winport/crt.h"

#include <gtest/gtest.h>

TEST(CrtAtoi, ReadsLikeMsvcrt) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"  -12ab", -12},
      {"+7", 7},
      {"", 0},
      {" 0x1A", 0},
      {"\t\n12", 12},
      {"- 5", 0},
      {"2x", 2},
      {"\x81\x40"
       "5",
       0},
      {"007", 7},
      {"-0", 0},
      {"123,456", 123},
      {"40000", 40000},
      // No overflow detection: the 32-bit accumulator wraps.
      {"99999999999", 1215752191},
      {"-99999999999", -1215752191},
      {"2147483648", -2147483648},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(winport::Atoi(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(winport::Atol(c.text), c.expected) << '"' << c.text << '"';
  }
  EXPECT_EQ(winport::Atoi(nullptr), 0);
}
