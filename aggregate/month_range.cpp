#include "aggregate/month_range.h"

#include <memory>

#include "accounting/ClAccPeriod.h"

MonthRange DefaultMonthRange(std::int32_t periodStart, std::int32_t periodEnd) {
  auto calendar = std::make_unique<ClAccPeriod>();
  calendar->SetPeriod(periodStart, periodEnd);
  calendar->SetClosingDay(calendar->GetClosingDayByEndDate(periodEnd, 0));
  short firstMonth = 0;
  calendar->GetAMonthByDate(periodStart, &firstMonth, 0);
  MonthRange range;
  range.first = firstMonth;
  range.last = static_cast<std::int16_t>(periodEnd % 10000 / 100);
  if (range.last < range.first) range.last = static_cast<std::int16_t>(range.last + 100);
  return range;
}

MonthRangeError CheckMonthRange(std::int16_t start, std::int16_t end, MonthRange period) {
  if (start < 1 || start > 12) return kStartWrong;
  if (end < 1 || end > 12) return kEndWrong;
  const int first = period.first;
  const bool wraps = period.last >= 100;
  const int last = wraps ? period.last % 100 : period.last;
  if (!wraps) {
    if (start < first || end > last || start > end) return kStartWrong;
    return kRangeRight;
  }
  // The range may run past December like the period, but must not leave it.
  if (first < start && start <= 12 && first <= end && end < start) return kEndWrong;
  if (1 <= start && start <= last && (end < start || end > last)) return kEndWrong;
  if (last < start && start < first) return kStartWrong;
  if (last < end && end < first) return kStartWrong;
  return kRangeRight;
}
