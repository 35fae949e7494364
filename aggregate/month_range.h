// The accounting months a period spans, and the check of a month range against them.
#pragma once

#include <cstdint>

struct MonthRange {
  std::int16_t first = 0;  // the accounting month that holds the period's first day
  // The calendar month of the period's last day, plus 100 when it is smaller than the first
  // month (the period runs past December).
  std::int16_t last = 0;
};

// The default month range of the period from `periodStart` to `periodEnd` (YYYYMMDD), from the
// period calendar; a month the calendar cannot give stays 0.
MonthRange DefaultMonthRange(std::int32_t periodStart, std::int32_t periodEnd);

// Where a month range is wrong: 0 it is right, 1 the start month is wrong, 2 the end month.
enum MonthRangeError { kRangeRight = 0, kStartWrong = 1, kEndWrong = 2 };

// Checks start month `start` and end month `end` against the period's default range.
MonthRangeError CheckMonthRange(std::int16_t start, std::int16_t end, MonthRange period);
