// Accounting months and dates through the selected data's period calendar (set object 5).
#pragma once

#include <cstdint>

// First day (YYYYMMDD) of accounting month `month` (1 to 12) of the selected data; 0 when the
// period calendar or the month cannot be had.
std::int32_t MonthStartDate(std::int16_t month);

// The accounting months holding `firstDay` and `lastDay` (the taxable period of the saved
// figures). Both months are stored when the calendar is had (0 for a date it cannot place);
// when it is not, both stay untouched. Returns the recorded status: that of the second
// conversion, or the failure of taking the calendar (source "ControlATS31", line 8520).
int SavedFiguresMonths(std::int32_t firstDay, std::int32_t lastDay, std::int16_t* firstMonth,
                       std::int16_t* lastMonth);
