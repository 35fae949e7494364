// TaxTotals: the result of journal aggregation, filled once per run by the aggregation engine
// and read, never changed, by the report writers. Every amount is a signed count of
// ten-thousandths of a yen (see aggregate/amount.h).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "accounting/StTAXREPORTBUSINESSTYPEINFO.h"
#include "accounting/StTAXREPORTRATEINFO.h"

// The tax-rate slots, in the order every per-rate array and every report group follows.
enum class TaxRateClass : int { k10 = 0, k8Reduced = 1, k8 = 2, k5 = 3, k3 = 4 };

constexpr int kRateSlotCount = 5;
constexpr int kBusinessTypeCount = 6;

struct TaxRateSlot {
  std::int32_t rate;     // hundredths of a percent
  std::uint8_t reduced;  // 1 for the reduced 8 % rate
  const char* suffix;    // element-name suffix: "10", "8K", "8", "5", "3"
};

// Slot 0 10 %, 1 reduced 8 %, 2 8 %, 3 5 %, 4 3 %.
const std::array<TaxRateSlot, kRateSlotCount>& TaxRateTable();

// One line of the refund statement: the period balance of the line's accounts and the part of
// it booked with tax categories outside the taxable-purchase categories.
struct StatementLine {
  std::int64_t settled = 0;
  std::int64_t nonTaxable = 0;

  bool IsZero() const { return settled == 0 && nonTaxable == 0; }
};

struct TaxTotals {
  // Per-rate return figures (one record per rate slot) and per-rate, per-business-type sales
  // figures (record 6 s + k - 1 holds business type k of slot s). Empty until Allocate.
  std::vector<StTAXREPORTRATEINFO> rateRecords;
  std::vector<StTAXREPORTBUSINESSTYPEINFO> businessTypeRecords;
  // The number of rates the tax settings report (ClSetShohizei::GetTaxRateCount); the arrays
  // hold at least kRateSlotCount slots whatever it is.
  int rateCount = 0;

  // Per-rate tax sums of the special accounts (classification 0x40888000 or 0x40848000).
  std::array<std::int64_t, kRateSlotCount> specialAccountSums{};

  // Corporate refund statement (entity kinds 0 and 1).
  StatementLine goodsPurchases;
  StatementLine sellingAdminExpenses;
  StatementLine nonOperatingExpenses;
  StatementLine otherProfitLoss;
  std::int64_t fixedAssets = 0;
  std::int64_t deferredAssets = 0;

  // Sole-proprietor refund statement (entity kinds 3 and 4), by income category.
  StatementLine businessPurchases;
  StatementLine businessExpenses;
  StatementLine businessFixedAssets;  // settled only
  StatementLine realEstateExpenses;
  StatementLine realEstateFixedAssets;  // settled only
  StatementLine otherIncomePurchases;
  StatementLine otherIncomeExpenses;
  StatementLine otherIncomeFixedAssets;  // never filled

  // Zeroes everything and sizes the per-rate arrays for `count` rates (at least
  // kRateSlotCount slots), writing each record's rate, reduced flag and business type from the
  // rate table; slots beyond the table keep rate 0.
  void Allocate(int count);
  // Frees the per-rate arrays (the other members keep their values).
  void Release();
  // Number of rate slots the arrays hold.
  int SlotCount() const { return static_cast<int>(rateRecords.size()); }

  // The business-type record of `businessType` (1..6) in rate slot `slot`.
  const StTAXREPORTBUSINESSTYPEINFO& BusinessTypeRecord(int slot, int businessType) const {
    return businessTypeRecords[static_cast<std::size_t>(slot * kBusinessTypeCount + businessType -
                                                        1)];
  }
};

// The business core reports non-taxable sales of securities at one twentieth of the figure the
// return needs: multiplies the amount at offset 33 of every rate record by 20. Raises
// AmountOverflow when a product leaves the data model (the records are then unchanged).
void ApplySecuritiesAdjustment(TaxTotals& totals);

constexpr std::size_t kSecuritiesSalesOffset = 33;
