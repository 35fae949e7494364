// Conversion of fixed-point amounts (ten-thousandths of a yen) to the whole-yen texts of the
// linkage file, with the data's rounding mode (byte 2 of StSHOHIZEIINFO).
#pragma once

#include <cstdint>
#include <string>

// Rounding modes of the tax settings; any other value truncates.
constexpr int kRoundHalfUpByDigits = 0;
constexpr int kRoundTruncate = 1;
constexpr int kRoundUp = 2;

// Whole yen. Mode 0 carries digit by digit from the fourth decimal place upward (so 0.4445 yen
// gives 1 and 0.4444 gives 0); mode 2 raises any fraction by one yen; other modes truncate.
// The fraction keeps the amount's sign, so a negative amount never carries in mode 0
// (-2.7 gives -2) and mode 2 gives the truncated value plus one (-1.5 gives 0).
std::int64_t roundToYen(std::int64_t amount, int roundingMode);

// The element value of an amount: empty when it rounds to zero, else the decimal text with a
// leading '-' when negative. Raises AmountOverflow for a magnitude of 10^14 yen or more.
std::string yenText(std::int64_t amount, int roundingMode);
