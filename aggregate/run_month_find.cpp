#include "aggregate/run_month_find.h"

MonthFind BuildRunMonthFind(MonthRange period, int startMonth, int endMonth, bool interimClosing) {
  const int first = period.first;
  const int lastMonth = period.last % 100;
  const bool wraps = period.last >= 100;
  int firstIndex = startMonth - first + 1;
  if (startMonth < first) firstIndex += 12;
  int lastIndex = endMonth - first + 1;
  // A period past December: the months up to its last one belong to the following year.
  if (wraps && endMonth <= lastMonth) lastIndex += 12;
  return MonthFind::Build(firstIndex, lastIndex, interimClosing && lastIndex == 6,
                          endMonth == lastMonth);
}
