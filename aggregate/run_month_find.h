// The month find of an export run: the chosen months as month indices of the accounting year.
#pragma once

#include "aggregate/month_find.h"
#include "aggregate/month_range.h"

// Months `startMonth` to `endMonth` (numbered like calendar months, 1 to 12) of a period whose
// default month range is `period` (its first month, and its last month plus 100 when the period
// runs past December). Month index 1 is the period's first month. The interim-closing adjustment
// (index 15) follows when the data closes at mid-year and the range ends with index 6; the
// year-end adjustment (index 18) when the range ends with the period's last month.
MonthFind BuildRunMonthFind(MonthRange period, int startMonth, int endMonth, bool interimClosing);
