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

MonthSpan SpanOf(const MonthFind& months, const StDATAINFO& data) {
  MonthSpan span;
  // A range outside 1..12 would read past the regular months into the adjustments.
  span.first = std::max(months.FirstIndex(), 1);
  span.last = std::min(months.LastIndex(), 12);
  span.yearEnd = months.IncludesYearEnd();
  span.interim = data.interimClosing == 1 && months.LastIndex() == 6;
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
