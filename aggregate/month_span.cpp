#include "aggregate/month_span.h"

#include <algorithm>

namespace {

Amount SpanTotal(const StKAMOKUSUMINFO& sum, std::size_t array, const MonthSpan& span) {
  Amount total;
  for (int month = span.first; month <= span.last; ++month) {
    total += Amount::FromFixed(sum.MonthAmount(array, month));
  }
  if (span.yearEnd) total += Amount::FromFixed(sum.MonthAmount(array, kAccountSumYearEndIndex));
  if (span.interim) total += Amount::FromFixed(sum.MonthAmount(array, kAccountSumInterimIndex));
  return total;
}

}  // namespace

MonthSpan SpanOf(const MonthFind& months) {
  MonthSpan span;
  // A range outside 1..12 would read past the regular months into the adjustments.
  span.first = std::max(months.FirstIndex(), 1);
  span.last = std::min(months.LastIndex(), 12);
  // Both adjustments may be named at once (a six-month year with interim closing, up to its
  // last month); each is looked for in the whole chain so that the sums agree with the finds.
  span.yearEnd = months.Includes(18);
  span.interim = months.Includes(15);
  return span;
}

Amount DebitTotal(const StKAMOKUSUMINFO& sum, const MonthSpan& span, bool taxInclusive) {
  return SpanTotal(
      sum, taxInclusive ? StKAMOKUSUMINFO::kDebitIncluded : StKAMOKUSUMINFO::kDebitExcluded, span);
}

Amount CreditTotal(const StKAMOKUSUMINFO& sum, const MonthSpan& span, bool taxInclusive) {
  return SpanTotal(
      sum, taxInclusive ? StKAMOKUSUMINFO::kCreditIncluded : StKAMOKUSUMINFO::kCreditExcluded,
      span);
}
