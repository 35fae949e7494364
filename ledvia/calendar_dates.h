// Date arithmetic on YYYYMMDD numbers, shared by the period calendar and the sample builder.
#pragma once

namespace ledvia {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Whether `date` is a real date between 1900-01-01 and 9999-12-31.
bool IsValidDate(int date);
int MakeDate(int year, int month, int day);
int NextDay(int date);
int PreviousDay(int date);

// Last day of the accounting month that ends in calendar month year/month, for `closingDay`
// (a day past the end of a short month means that month's last day).
int ClosingDate(int year, int month, int closingDay);
// Calendar year and month in which the accounting month holding `date` ends.
void AccountingMonthOf(int date, int closingDay, int* year, int* month);

}  // namespace ledvia
