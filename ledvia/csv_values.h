// The text forms of values in the CSV files: whole numbers, amounts in yen, dates and tax rates.
// Each Parse answers an empty string when the text is good, else the reason a person reads;
// each Format writes what the matching Parse reads back to the same value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ledvia::csv {

// Amounts must stay below 10^14 yen, the most a linkage file holds.
constexpr std::int64_t kAmountLimit = 100000000000000LL * 10000;

// A decimal whole number from `min` to `max` (an optional '-' and digits; with `hex`, also
// "0x" and hexadecimal digits).
std::string ParseWhole(std::string_view text, std::int64_t min, std::int64_t max,
                       std::int64_t* value, bool hex = false);
// Yen with up to four decimals ("-1234.5"), as ten-thousandths of a yen.
std::string ParseAmount(std::string_view text, std::int64_t* tenThousandths);
std::string FormatAmount(std::int64_t tenThousandths);
// "YYYY/MM/DD" (month and day may have one digit) or "YYYYMMDD", a real date, as YYYYMMDD.
std::string ParseDate(std::string_view text, int* date);
std::string FormatDate(int date);
// A percentage with up to two decimals ("10", "6.24"), from 0 to 100, as hundredths.
std::string ParseRate(std::string_view text, int* hundredths);
std::string FormatRate(int hundredths);

}  // namespace ledvia::csv
