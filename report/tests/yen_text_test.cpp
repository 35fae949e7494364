#include "report/yen_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(YenText, RoundingModes) {
  struct Case {
    std::int64_t amount;  // ten-thousandths of a yen
    int mode;
    const char* expected;
  };
  const Case cases[] = {
      // Mode 0 carries digit by digit from the fourth decimal place.
      {12345000, 0, "1235"},
      {12344445, 0, "1235"},
      {12344999, 0, "1235"},
      {12344444, 0, "1234"},
      {449, 0, ""},
      {4445, 0, "1"},
      {4500, 0, "1"},
      {4444, 0, ""},
      {9999, 0, "1"},
      // Mode 1 truncates, mode 2 raises any fraction, other modes truncate.
      {12349999, 1, "1234"},
      {12340001, 2, "1235"},
      {12340000, 2, "1234"},
      {12349999, 3, "1234"},
      {12349999, 255, "1234"},
      // Negative whole amounts in every mode.
      {-5000000, 0, "-500"},
      {-5000000, 1, "-500"},
      {-5000000, 2, "-500"},
      // Negative fractions keep their sign: mode 0 never carries, mode 2 raises toward zero+1.
      {-27000, 0, "-2"},
      {-15000, 2, ""},
      {-25000, 2, "-1"},
      {-27000, 1, "-2"},
      {0, 0, ""},
      {0, 2, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(yenText(c.amount, c.mode), c.expected) << c.amount << " mode " << c.mode;
  }
  EXPECT_EQ(roundToYen(std::numeric_limits<std::int64_t>::min(), 2), -922337203685476);
  EXPECT_EQ(roundToYen(std::numeric_limits<std::int64_t>::max(), 0), 922337203685478);
}
