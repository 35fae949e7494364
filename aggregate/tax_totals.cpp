#include "aggregate/tax_totals.h"

#include <algorithm>

#include "aggregate/amount.h"

const std::array<TaxRateSlot, kRateSlotCount>& TaxRateTable() {
  static const std::array<TaxRateSlot, kRateSlotCount> table{{
      {1000, 0, "10"},
      {800, 1, "8K"},
      {800, 0, "8"},
      {500, 0, "5"},
      {300, 0, "3"},
  }};
  return table;
}

void TaxTotals::Allocate(int count) {
  *this = TaxTotals();
  rateCount = count;
  // The rate table always fills five slots, so the arrays never hold fewer; resize zeroes.
  std::size_t slots = static_cast<std::size_t>(std::max(count, kRateSlotCount));
  rateRecords.resize(slots);
  businessTypeRecords.resize(slots * kBusinessTypeCount);
  for (std::size_t s = 0; s < static_cast<std::size_t>(kRateSlotCount); ++s) {
    const TaxRateSlot& slot = TaxRateTable()[s];
    rateRecords[s].rate = slot.rate;
    rateRecords[s].reduced = slot.reduced;
    for (int k = 0; k < kBusinessTypeCount; ++k) {
      StTAXREPORTBUSINESSTYPEINFO& record = businessTypeRecords[s * kBusinessTypeCount + k];
      record.rate = slot.rate;
      record.reduced = slot.reduced;
      record.businessType = static_cast<std::uint8_t>(k + 1);
    }
  }
}

void TaxTotals::Release() {
  rateRecords = {};
  businessTypeRecords = {};
}

void ApplySecuritiesAdjustment(TaxTotals& totals) {
  // All products first, so that an overflow leaves every record as it was.
  std::vector<std::int64_t> adjusted;
  for (const StTAXREPORTRATEINFO& record : totals.rateRecords) {
    adjusted.push_back((Amount::FromFixed(record.AmountAt(kSecuritiesSalesOffset)) * 20).ToFixed());
  }
  for (std::size_t s = 0; s < adjusted.size(); ++s) {
    totals.rateRecords[s].SetAmountAt(kSecuritiesSalesOffset, adjusted[s]);
  }
}
