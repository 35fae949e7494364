#include "accounting/ClAccPeriod.h"

#include "ledvia/calendar_dates.h"
#include "ledvia/fault_injection.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

struct YearMonth {
  int year;
  int month;
};

YearMonth Advance(YearMonth ym, int months) {
  int total = ym.year * 12 + (ym.month - 1) + months;
  return YearMonth{total / 12, total % 12 + 1};
}

}  // namespace
}  // namespace ledvia

using ledvia::kBadArgument;
using ledvia::kNotReady;
using ledvia::kOk;

int ClAccPeriod::SetPeriod(int start, int end) {
  if (int fault = ledvia::FaultFor("ClAccPeriod::SetPeriod")) return fault;
  // A period is at most a year long; a year and a day would give a thirteenth month.
  if (!ledvia::IsValidDate(start) || !ledvia::IsValidDate(end) || end < start ||
      end >= start + 10000) {
    return kBadArgument;
  }
  start_ = start;
  end_ = end;
  return kOk;
}

int ClAccPeriod::GetClosingDayByEndDate(int endDate, int /*mode*/) {
  // The answer is a day, not a status: an injected value is the day handed back.
  if (int fault = ledvia::FaultFor("ClAccPeriod::GetClosingDayByEndDate")) return fault;
  if (!ledvia::IsValidDate(endDate)) return 0;
  int day = endDate % 100;
  return day == ledvia::DaysInMonth(endDate / 10000, endDate / 100 % 100) ? 31 : day;
}

int ClAccPeriod::SetClosingDay(int day) {
  if (int fault = ledvia::FaultFor("ClAccPeriod::SetClosingDay")) return fault;
  if (day < 1 || day > 31) return kBadArgument;
  closingDay_ = day;
  return kOk;
}

int ClAccPeriod::GetPeriod(int* start, int* end) {
  if (int fault = ledvia::FaultFor("ClAccPeriod::GetPeriod")) return fault;
  if (start == nullptr || end == nullptr) return kBadArgument;
  if (start_ == 0) return kNotReady;
  *start = start_;
  *end = end_;
  return kOk;
}

int ClAccPeriod::GetPeriodByMonthKind(int monthIndex, int* first, int* last, int /*mode*/) {
  if (int fault = ledvia::FaultFor("ClAccPeriod::GetPeriodByMonthKind")) return fault;
  return MonthBounds(monthIndex, first, last);
}

int ClAccPeriod::MonthBounds(int monthIndex, int* first, int* last) const {
  if (first == nullptr || last == nullptr) return kBadArgument;
  if (start_ == 0) return kNotReady;
  if (monthIndex == 18) {
    *first = *last = end_;
    return kOk;
  }
  int index = monthIndex == 15 ? 6 : monthIndex;
  if (index < 1 || index > 12) return kBadArgument;
  ledvia::YearMonth firstMonth{};
  ledvia::AccountingMonthOf(start_, closingDay_, &firstMonth.year, &firstMonth.month);
  ledvia::YearMonth wanted = ledvia::Advance(firstMonth, index - 1);
  ledvia::YearMonth before = ledvia::Advance(wanted, -1);
  int monthFirst = ledvia::NextDay(ledvia::ClosingDate(before.year, before.month, closingDay_));
  int monthLast = ledvia::ClosingDate(wanted.year, wanted.month, closingDay_);
  // A short period has fewer than twelve months.
  if (monthFirst > end_) return kBadArgument;
  if (monthIndex == 15) {
    *first = *last = monthLast;
  } else {
    *first = monthFirst;
    *last = monthLast;
  }
  return kOk;
}

int ClAccPeriod::GetPeriodByAMonth(short month, int* first, int* last, int /*mode*/) {
  if (int fault = ledvia::FaultFor("ClAccPeriod::GetPeriodByAMonth")) return fault;
  if (first == nullptr || last == nullptr || month < 1 || month > 12) return kBadArgument;
  if (start_ == 0) return kNotReady;
  int firstMonth = 0;
  int year = 0;
  ledvia::AccountingMonthOf(start_, closingDay_, &year, &firstMonth);
  int index = (month - firstMonth + 12) % 12 + 1;
  return MonthBounds(index, first, last);
}

int ClAccPeriod::GetAMonthByDate(int date, short* month, int /*mode*/) {
  if (month == nullptr) return kBadArgument;
  *month = 0;
  if (int fault = ledvia::FaultFor("ClAccPeriod::GetAMonthByDate")) return fault;
  if (!ledvia::IsValidDate(date)) return kBadArgument;
  if (start_ != 0 && (date < start_ || date > end_)) return kBadArgument;
  int year = 0;
  int found = 0;
  ledvia::AccountingMonthOf(date, closingDay_, &year, &found);
  *month = static_cast<short>(found);
  return kOk;
}
