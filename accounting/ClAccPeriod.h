// Period calendar of one company data: the accounting period and its accounting months. A
// month is numbered like the calendar month in which it ends and ends on the closing day
// (31 = the last day of the calendar month); month indices count the months from the first
// of the period (1 to 12), 15 is the interim-closing adjustment and 18 the year-end closing
// adjustment. Dates are YYYYMMDD. Every call returns 0 on success, else a failure code.
#pragma once

class ClAccPeriod {
 public:
  ClAccPeriod() = default;
  virtual ~ClAccPeriod() = default;

  // Sets the accounting period; refused unless both are valid dates, start <= end, and the
  // end comes before the start's date one year later (a period is at most a year).
  int SetPeriod(int start, int end);
  // The closing day implied by a period's last day: its day of month, or 31 when it is the
  // last day of its month; 0 for an invalid date (the answer is a day, not a status). `mode`
  // is 0.
  int GetClosingDayByEndDate(int endDate, int mode);
  // 1 to 31; values of 28 and more mean the last day of every month in which that day is
  // past the end.
  int SetClosingDay(int day);
  int GetPeriod(int* start, int* end);
  // First and last day of accounting month `month` (1 to 12) of the period. `mode` is 0.
  int GetPeriodByAMonth(short month, int* first, int* last, int mode);
  // The accounting month (1 to 12) that holds `date`; 0 and a failure code for a date that is
  // not valid or lies outside the period. `mode` is 0.
  int GetAMonthByDate(int date, short* month, int mode);
  // First and last day of month index `monthIndex`: 1 to 12; 15 and 18 give the last day of
  // month index 6 and of the period (both ends the same day). `mode` is 0.
  int GetPeriodByMonthKind(int monthIndex, int* first, int* last, int mode);

 private:
  // GetPeriodByMonthKind without its fault hook, shared with GetPeriodByAMonth.
  int MonthBounds(int monthIndex, int* first, int* last) const;

  int start_ = 0;
  int end_ = 0;
  int closingDay_ = 31;
};
