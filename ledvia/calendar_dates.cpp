#include "ledvia/calendar_dates.h"

namespace ledvia {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int date) {
  int year = date / 10000;
  int month = date / 100 % 100;
  int day = date % 100;
  return year >= 1900 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int MakeDate(int year, int month, int day) { return year * 10000 + month * 100 + day; }

int NextDay(int date) {
  int year = date / 10000;
  int month = date / 100 % 100;
  int day = date % 100 + 1;
  if (day > DaysInMonth(year, month)) {
    day = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return MakeDate(year, month, day);
}

int PreviousDay(int date) {
  int year = date / 10000;
  int month = date / 100 % 100;
  int day = date % 100 - 1;
  if (day < 1) {
    if (--month < 1) {
      month = 12;
      --year;
    }
    day = DaysInMonth(year, month);
  }
  return MakeDate(year, month, day);
}

int ClosingDate(int year, int month, int closingDay) {
  int last = DaysInMonth(year, month);
  return MakeDate(year, month, closingDay < last ? closingDay : last);
}

void AccountingMonthOf(int date, int closingDay, int* year, int* month) {
  *year = date / 10000;
  *month = date / 100 % 100;
  if (date > ClosingDate(*year, *month, closingDay)) {
    if (++*month > 12) {
      *month = 1;
      ++*year;
    }
  }
}

}  // namespace ledvia
