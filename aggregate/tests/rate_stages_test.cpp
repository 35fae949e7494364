// Stages 3 and 4: the per-rate return figures and the special accounts' tax sums.
#include <cstring>

#include "aggregate/tests/engine_fixture.h"

namespace engine_testing {
namespace {

ledvia::EntrySpec AtMonth(ledvia::EntrySpec entry, int monthIndex) {
  entry.monthIndex = monthIndex;
  return entry;
}

struct RateCase {
  int lastMonth;
  bool yearEnd;
  std::int64_t taxableAt10;  // offset 9 of slot 0
};

class SumTaxByRateTest : public EngineTest, public testing::WithParamInterface<RateCase> {};

const RateCase kRateCases[] = {{12, true, Yen(5000)}, {11, false, 0}};
INSTANTIATE_TEST_SUITE_P(Cases, SumTaxByRateTest, testing::ValuesIn(kRateCases));

TEST_P(SumTaxByRateTest, RecordsOfTheRangeWithSecuritiesAtFullPrice) {
  const RateCase& c = GetParam();
  AddData();
  Add(chart::Sale(20200510, 20000, 1000, 0, 0, 4));  // securities: 20,000 yen
  Add(chart::Sale(20200510, 10000, 800, 1, 2));      // reduced 8 %, business type 2
  Add(AtMonth(chart::Sale(20210331, 5000, 1000, 0, 1), 18));
  Start(1, c.lastMonth, false, c.yearEnd);
  // The stage writes the rate table itself.
  std::memset(totals_.rateRecords.data(), 0,
              totals_.rateRecords.size() * sizeof(StTAXREPORTRATEINFO));
  std::memset(totals_.businessTypeRecords.data(), 0,
              totals_.businessTypeRecords.size() * sizeof(StTAXREPORTBUSINESSTYPEINFO));
  EXPECT_EQ(engine_->SumTaxByRate(totals_), 1);
  EXPECT_EQ(progress_.Runs(), "W5");
  for (int slot = 0; slot < kRateSlotCount; ++slot) {
    // Packed fields are copied out before comparing: they are not aligned.
    const TaxRateSlot& want = TaxRateTable()[slot];
    const StTAXREPORTBUSINESSTYPEINFO& type6 = totals_.BusinessTypeRecord(slot, 6);
    EXPECT_EQ(std::int32_t{totals_.rateRecords[slot].rate}, want.rate);
    EXPECT_EQ(std::uint8_t{totals_.rateRecords[slot].reduced}, want.reduced);
    EXPECT_EQ(std::int32_t{type6.rate}, want.rate);
    EXPECT_EQ(std::uint8_t{type6.businessType}, 6);
  }
  EXPECT_EQ(totals_.rateRecords[0].AmountAt(kSecuritiesSalesOffset), Yen(20000));
  EXPECT_EQ(totals_.rateRecords[0].AmountAt(9), c.taxableAt10);
  EXPECT_EQ(totals_.rateRecords[1].AmountAt(9), Yen(10000));
  EXPECT_EQ(totals_.BusinessTypeRecord(1, 2).AmountAt(24), Yen(10000));
}

struct SpecialCase {
  int taxInclusive;
  int lastMonth;
  bool yearEnd;
  std::int64_t at10, at8;
};

class SpecialAccountsTest : public EngineTest, public testing::WithParamInterface<SpecialCase> {};

// A gain of 200,000 (tax 20,000) at 10 % in month 2 and 10,000 (tax 1,000) as the year-end
// adjustment; a loss of 50,000 (tax 4,000) at 8 % in month 3; sales at 10 % that are not special.
const SpecialCase kSpecialCases[] = {
    {0, 12, true, Yen(-210000), Yen(50000)},
    {1, 12, true, Yen(-231000), Yen(54000)},
    {0, 6, false, Yen(-200000), Yen(50000)},
};
INSTANTIATE_TEST_SUITE_P(Cases, SpecialAccountsTest, testing::ValuesIn(kSpecialCases));

TEST_P(SpecialAccountsTest, SpecialAccountSumsPerRate) {
  const SpecialCase& c = GetParam();
  data_.taxInclusive = c.taxInclusive;
  AddData();
  Add(chart::Sale(20200515, 200000, 1000, 0, 0, 1, chart::kAssetSaleGain));
  Add(AtMonth(chart::Sale(20210331, 10000, 1000, 0, 0, 1, chart::kAssetSaleGain), 18));
  Add(chart::Purchase(20200615, 50000, 800, 0, 21, chart::kAssetSaleLoss));
  Add(chart::Sale(20200515, 30000, 1000, 0, 1));
  Start(1, c.lastMonth, false, c.yearEnd);
  EXPECT_EQ(engine_->SumSpecialAccounts(totals_, settings_), 1);
  const std::int64_t expected[kRateSlotCount] = {c.at10, 0, c.at8, 0, 0};
  for (int slot = 0; slot < kRateSlotCount; ++slot) {
    EXPECT_EQ(totals_.specialAccountSums[slot], expected[slot]) << "slot " << slot;
  }
  // Two special accounts read; at 10 % the sales and the gain rows, at 8 % the loss row, each
  // row with a sweep per listed account.
  EXPECT_EQ(progress_.Runs(), "R s2 F s W2 s W2 s W2 F");
  EXPECT_EQ(engine_->accountList().size(), 2u);
  engine_->ClearAccountList();
  EXPECT_TRUE(engine_->accountList().empty());
}

}  // namespace
}  // namespace engine_testing
