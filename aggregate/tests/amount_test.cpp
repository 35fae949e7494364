#include "aggregate/amount.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "aggregate/tax_totals.h"

namespace {

constexpr std::int64_t kYen = Amount::kUnitsPerYen;

std::int64_t Fixed(const Amount& a) { return a.ToFixed(); }

}  // namespace

TEST(Amount, ConvertsBothWaysAndZeroIsNeverNegative) {
  Amount a = Amount::FromFixed(-12345678);
  EXPECT_EQ(a.IntegerPart(), 1234u);
  EXPECT_EQ(a.Fraction(), 5678);
  EXPECT_EQ(a.Sign(), -1);
  EXPECT_EQ(a.ToFixed(), -12345678);
  EXPECT_EQ(Amount::FromYen(-7).ToFixed(), -7 * kYen);
  const std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(Amount::FromFixed(lowest).ToFixed(), lowest);
  EXPECT_EQ((Amount::FromFixed(-5) + Amount::FromFixed(5)).Sign(), 1);
  EXPECT_EQ((Amount::FromFixed(-1) * Amount::FromFixed(1)).Sign(), 1);
  EXPECT_EQ(Amount::FromFixed(-3) * 0, Amount());
  EXPECT_EQ(Amount::FromFixed(-3) * Amount(), Amount());
  EXPECT_EQ(Amount::FromYen(0), Amount());
}

TEST(Amount, SumsRaiseTheOverflowErrorAtTenToTheFourteenYen) {
  const Amount justBelow = Amount::FromFixed(Amount::kLimit - 1);
  EXPECT_EQ(Fixed(justBelow + Amount()), Amount::kLimit - 1);
  EXPECT_THROW(justBelow + Amount::FromFixed(1), AmountOverflow);
  EXPECT_THROW(Amount::FromFixed(-Amount::kLimit + 1) - Amount::FromFixed(1), AmountOverflow);
  EXPECT_EQ(AmountOverflow().code(), -1);
}

TEST(Amount, MultiplicationByWholeNumbers) {
  struct Case {
    std::int64_t fixed;
    std::int32_t factor;
    std::int64_t expected;
  };
  const Case cases[] = {
      {1000 * kYen, 20, 20000 * kYen},  // the securities figure
      {5001, 3, 15003},                 // fraction carries into the integer part
      {9999, 10001, 99999999},
      {-2 * kYen - 5000, 3, -7 * kYen - 5000},
      {2 * kYen + 1, -2, -4 * kYen - 2},
      {-1, -1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed(Amount::FromFixed(c.fixed) * c.factor), c.expected)
        << c.fixed << " x " << c.factor;
  }
  // 5 x 10^12 yen x 20 reaches the limit.
  EXPECT_THROW(Amount::FromFixed(5000000000000 * kYen) * 20, AmountOverflow);
  EXPECT_NO_THROW(Amount::FromFixed(4999999999999 * kYen) * 20);
  EXPECT_THROW(Amount::FromFixed(std::numeric_limits<std::int64_t>::max()) * 2, AmountOverflow);
}

TEST(Amount, MultiplicationOfAmountsRoundsTheFractionProductHalfUp) {
  struct Case {
    std::int64_t a;
    std::int64_t b;
    std::int64_t expected;
  };
  const Case cases[] = {
      {15000, 15000, 22500},                 // 1.5 x 1.5 = 2.25
      {1, 5000, 1},                          // 0.00005 rounds up to 0.0001
      {1, 4999, 0},                          // 0.00004999 rounds down
      {-3 * kYen, 2 * kYen + 5000, -75000},  // -3 x 2.5
      {-15000, -15000, 22500},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed(Amount::FromFixed(c.a) * Amount::FromFixed(c.b)), c.expected)
        << c.a << " x " << c.b;
  }
  EXPECT_THROW(Amount::FromFixed(10000000 * kYen) * Amount::FromFixed(10000000 * kYen),
               AmountOverflow);
}

TEST(TaxTotals, AllocatesFiveSlotsWithTheRateTable) {
  TaxTotals totals;
  totals.goodsPurchases.settled = 5;
  totals.Allocate(3);
  EXPECT_EQ(totals.rateCount, 3);
  ASSERT_EQ(totals.SlotCount(), kRateSlotCount);
  ASSERT_EQ(totals.businessTypeRecords.size(), 30u);
  EXPECT_EQ(totals.goodsPurchases.settled, 0);  // everything starts at zero
  const std::int32_t rates[] = {1000, 800, 800, 500, 300};
  for (int s = 0; s < kRateSlotCount; ++s) {
    EXPECT_EQ(int{totals.rateRecords[s].rate}, rates[s]);
    EXPECT_EQ(totals.rateRecords[s].reduced, s == 1 ? 1 : 0);
    for (int k = 1; k <= kBusinessTypeCount; ++k) {
      const StTAXREPORTBUSINESSTYPEINFO& record = totals.BusinessTypeRecord(s, k);
      EXPECT_EQ(int{record.rate}, rates[s]);
      EXPECT_EQ(record.reduced, s == 1 ? 1 : 0);
      EXPECT_EQ(record.businessType, k);
      EXPECT_EQ(record.AmountAt(8), 0);
    }
  }
  totals.Allocate(7);
  EXPECT_EQ(totals.SlotCount(), 7);
  EXPECT_EQ(int{totals.rateRecords[6].rate}, 0);
}

TEST(TaxTotals, SecuritiesAdjustmentMultipliesByTwentyOrChangesNothing) {
  TaxTotals totals;
  totals.Allocate(5);
  totals.rateRecords[0].SetAmountAt(kSecuritiesSalesOffset, 1000 * kYen);
  totals.rateRecords[3].SetAmountAt(kSecuritiesSalesOffset, -12345);
  totals.rateRecords[0].SetAmountAt(41, 7);
  ApplySecuritiesAdjustment(totals);
  EXPECT_EQ(totals.rateRecords[0].AmountAt(kSecuritiesSalesOffset), 20000 * kYen);
  EXPECT_EQ(totals.rateRecords[3].AmountAt(kSecuritiesSalesOffset), -246900);
  EXPECT_EQ(totals.rateRecords[0].AmountAt(41), 7);

  totals.rateRecords[4].SetAmountAt(kSecuritiesSalesOffset, 5000000000000 * kYen);
  EXPECT_THROW(ApplySecuritiesAdjustment(totals), AmountOverflow);
  EXPECT_EQ(totals.rateRecords[0].AmountAt(kSecuritiesSalesOffset), 20000 * kYen);
}
