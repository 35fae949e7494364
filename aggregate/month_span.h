// The months of an account sum's per-month arrays that a month range covers.
#pragma once

#include "accounting/StKAMOKUSUMINFO.h"
#include "aggregate/amount.h"
#include "aggregate/month_find.h"

struct MonthSpan {
  int first = 1;  // regular months first..last (none when last < first)
  int last = 0;
  // The year-end closing adjustment (array index 13): the month find names month 18. It is
  // always index 13, also when a short year's last month index is below 12, since that is
  // where the adjustment is kept; the index after the last month would be an ordinary month.
  bool yearEnd = false;
  // The interim-closing adjustment (array index 14): the month find names month 15, which the
  // run does when the data closes at mid-year and the range ends with month index 6.
  bool interim = false;
};

MonthSpan SpanOf(const MonthFind& months);

// The debit and credit totals of `sum` over `span`, from the tax-included arrays when
// `taxInclusive`, else from the tax-excluded ones. Raise AmountOverflow.
Amount DebitTotal(const StKAMOKUSUMINFO& sum, const MonthSpan& span, bool taxInclusive);
Amount CreditTotal(const StKAMOKUSUMINFO& sum, const MonthSpan& span, bool taxInclusive);
