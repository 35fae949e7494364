// Stage 5: the corporate refund statement from account sums, journal sides and fixed assets,
// against figures worked out by hand.
#include <utility>

#include "aggregate/tests/engine_fixture.h"

namespace engine_testing {
namespace {

struct YearCase {
  int taxInclusive;
  int last;
  bool yearEnd;
  StatementLine goods, sga, nonOperating, other;
};

class CorporateYearTest : public EngineTest, public testing::WithParamInterface<YearCase> {};

// goods settled: postings 100000 + 50000 + 30000 - 20000 + 6000 + 7000 and the cost-of-sales
// total 40000; goods nonTaxable: 50000 + 30000 - 20000 + 6000 + 7000.
const YearCase kYearCases[] = {
    {0,
     12,
     true,
     {Yen(213000), Yen(73000)},
     {Yen(15000), Yen(10000)},
     {Yen(8000), 0},
     {Yen(12000), Yen(12000)}},
    // Tax added to every side that carries it.
    {1,
     12,
     true,
     {Yen(224700), Yen(74700)},
     {Yen(16500), Yen(11000)},
     {Yen(8000), 0},
     {Yen(12000), Yen(12000)}},
    // Months 1 to 11: neither month 12 nor the year-end adjustment.
    {0,
     11,
     false,
     {Yen(200000), Yen(60000)},
     {Yen(15000), Yen(10000)},
     {Yen(8000), 0},
     {Yen(12000), Yen(12000)}},
};
INSTANTIATE_TEST_SUITE_P(Cases, CorporateYearTest, testing::ValuesIn(kYearCases));

TEST_P(CorporateYearTest, LinesFollowRangeAndTaxInclusion) {
  const YearCase& c = GetParam();
  data_.taxInclusive = c.taxInclusive;
  AddData();
  Debit(chart::kPurchases, 100000, 10000, 21, 1);       // taxable purchase: settled only
  Debit(chart::kPurchases, 50000, 0, 24, 2);            // non-taxable purchase
  Debit(chart::kPurchases, 30000, 3000, 31, 3);         // unsplit import: in N
  Credit(chart::kPurchaseReturns, 20000, 2000, 30, 4);  // a credit side subtracts
  Debit(chart::kMaterials, 40000, 0, 24, 5);            // below the cost-of-sales total, not listed
  Debit(chart::kTravel, 10000, 1000, 24, 6);            // through the SG&A total
  Debit(chart::kSupplies, 5000, 500, 22, 7);
  Debit(chart::kInterest, 8000, 0, 24, 8);  // 0x40844080: settled through its total only
  Debit(chart::kExtraordinaryLoss, 12000, 0, 0, 9);
  Debit(chart::kOpeningStock, 6000, 0, 30, 12);
  Debit(chart::kPurchases, 7000, 700, 24, 18);  // year-end closing adjustment
  Start(1, c.last, false, c.yearEnd);
  EXPECT_EQ(Corporate(), 1);
  const std::pair<const StatementLine&, const StatementLine&> lines[] = {
      {totals_.goodsPurchases, c.goods},
      {totals_.sellingAdminExpenses, c.sga},
      {totals_.nonOperatingExpenses, c.nonOperating},
      {totals_.otherProfitLoss, c.other}};
  for (const auto& [got, want] : lines) {
    EXPECT_EQ(got.settled, want.settled);
    EXPECT_EQ(got.nonTaxable, want.nonTaxable);
  }
}

struct AdjustmentCase {
  const char* what;
  int periodEnd;
  int interimClosing;
  bool interimEntry, yearEndEntry;
  std::int64_t settled, nonTaxable;
};

class CorporateAdjustmentTest : public EngineTest,
                                public testing::WithParamInterface<AdjustmentCase> {};

// Months 1 to 6 with 1000 in month 6, 2000 as the interim adjustment, 4000 as the year-end
// adjustment and (in a full year) 8000 in month 7.
const AdjustmentCase kAdjustmentCases[] = {
    {"interim closing: month 15 is in", 20210331, 1, true, false, Yen(3000), Yen(3000)},
    {"no interim closing: no adjustment", 20210331, 0, false, false, Yen(1000), Yen(1000)},
    // A six-month year: the year-end adjustment is kept at index 13, not at the index after 6.
    {"short year: year-end adjustment", 20200930, 0, false, true, Yen(5000), Yen(5000)},
};
INSTANTIATE_TEST_SUITE_P(Cases, CorporateAdjustmentTest, testing::ValuesIn(kAdjustmentCases));

TEST_P(CorporateAdjustmentTest, AdjustmentMonthsOfTheAccountSums) {
  const AdjustmentCase& c = GetParam();
  SCOPED_TRACE(c.what);
  data_.periodEnd = c.periodEnd;
  data_.interimClosing = c.interimClosing;
  AddData();
  Debit(chart::kPurchases, 1000, 0, 24, 6);
  Debit(chart::kPurchases, 2000, 0, 24, 15);
  Debit(chart::kPurchases, 4000, 0, 24, 18);
  if (c.periodEnd == 20210331) Debit(chart::kPurchases, 8000, 0, 24, 7);
  Start(1, 6, c.interimEntry, c.yearEndEntry);
  EXPECT_EQ(Corporate(), 1);
  EXPECT_EQ(totals_.goodsPurchases.settled, c.settled);
  EXPECT_EQ(totals_.goodsPurchases.nonTaxable, c.nonTaxable);
}

class CorporateStatementTest : public EngineTest {};

TEST_F(CorporateStatementTest, BothSidesOnLineAccountsAddDebitAndSubtractCredit) {
  AddData();
  ledvia::EntrySpec entry;
  entry.date = 20200510;
  entry.debitAccount = chart::kSupplies;
  entry.debitAmount = Yen(3000);
  entry.debitCategory = 24;
  entry.creditAccount = chart::kFees;
  entry.creditAmount = Yen(1000);
  Add(entry);
  // Both sides taxable purchases: not read, though both accounts are listed.
  entry.debitCategory = 21;
  entry.creditCategory = 25;
  Add(entry);
  Start(1, 12);
  EXPECT_EQ(Corporate(), 1);
  EXPECT_EQ(totals_.sellingAdminExpenses.nonTaxable, Yen(2000));
  EXPECT_EQ(totals_.sellingAdminExpenses.settled, Yen(4000));
}

TEST_F(CorporateStatementTest, FixedAssetsOfTheRangeByKind) {
  // The period starts on the 15th; its first accounting month began on the 1st.
  data_.periodStart = 20200415;
  data_.periodEnd = 20210414;
  AddData();
  Asset(1, 20200410, 1, 900000);  // in the first month, before the period: not counted
  Asset(2, 20200415, 1, 100000);
  Asset(3, 20200601, 9, 30000);   // deferred
  Asset(4, 20210331, 2, 50000);   // last day of month 12
  Asset(5, 20210401, 1, 700000);  // after the range
  Start(1, 12);
  EXPECT_EQ(Corporate(), 1);
  EXPECT_EQ(totals_.fixedAssets, Yen(150000));
  EXPECT_EQ(totals_.deferredAssets, Yen(30000));
}

class EntityKindTest : public EngineTest, public testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Kinds, EntityKindTest, testing::Values(0, 1, 3, 4));

TEST_P(EntityKindTest, OnlyItsOwnStatementIsFilled) {
  bool corporate = GetParam() <= 1;
  data_.entityKind = GetParam();
  data_.incomeKinds = 1;
  AddData();
  Debit(chart::kTravel, 1000, 0, 24, 1);
  Asset(1, 20200501, 1, 5000, 1);
  Start(1, 12);
  EXPECT_EQ(Corporate(), 1);
  EXPECT_EQ(SoleProprietor(), 1);
  EXPECT_EQ(totals_.sellingAdminExpenses.nonTaxable, corporate ? Yen(1000) : 0);
  EXPECT_EQ(totals_.fixedAssets, corporate ? Yen(5000) : 0);
  EXPECT_EQ(totals_.businessExpenses.nonTaxable, corporate ? 0 : Yen(1000));
  EXPECT_EQ(totals_.businessFixedAssets.settled, corporate ? 0 : Yen(5000));
}

}  // namespace
}  // namespace engine_testing
