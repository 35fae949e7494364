#include "report/superseded_rates.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::size_t kFirstFigure = 9;
constexpr std::size_t kLastFigure = 441;
constexpr int kFirstSupersededSlot = 2;

}  // namespace

bool HasSupersededRateFigures(const TaxTotals* totals) {
  if (totals == nullptr) return false;
  // The arrays hold at least five slots; a larger reported count is bounded by what they hold.
  const int n = std::min(totals->rateCount, totals->SlotCount());
  for (int s = kFirstSupersededSlot; s < n; ++s) {
    const StTAXREPORTRATEINFO& record = totals->rateRecords[static_cast<std::size_t>(s)];
    for (std::size_t offset = kFirstFigure; offset <= kLastFigure; offset += 8) {
      if (record.AmountAt(offset) != 0) return true;
    }
  }
  for (int s = kFirstSupersededSlot; s < kRateSlotCount; ++s) {
    if (totals->specialAccountSums[static_cast<std::size_t>(s)] != 0) return true;
  }
  if (n <= kFirstSupersededSlot) return false;
  for (int s = kFirstSupersededSlot; s < n; ++s) {
    for (int k = 1; k <= kBusinessTypeCount; ++k) {
      const StTAXREPORTBUSINESSTYPEINFO& record = totals->BusinessTypeRecord(s, k);
      for (std::size_t offset = 8; offset <= 48; offset += 8) {
        if (record.AmountAt(offset) != 0) return true;
      }
    }
  }
  return false;
}
