// Stage 6: the sole proprietor's statement by income category, against figures worked out by
// hand.
#include "aggregate/tests/engine_fixture.h"

namespace engine_testing {
namespace {

class SoleProprietorTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    data_.entityKind = 3;
  }
};

TEST_F(SoleProprietorTest, DepartmentsDecideTheIncomeCategories) {
  data_.incomeKinds = 3;
  AddData();
  // Department code: value at 16, kind, income category. Expenses of 10^(code-1) yen each, so
  // that every member's sum shows which departments went into it.
  const struct {
    int value, kind, category;
  } departments[] = {
      {5, 0, 1},  // 1: business only
      {3, 0, 3},  // 2: real estate only
      {0, 1, 3},  // 3: kind 1, value 0, real-estate category: business and real estate
      {7, 1, 1},  // 4: kind 1, value not 0, business category: business and other
      {2, 2, 2},  // 5: other
      {4, 0, 4},  // 6: other
      {0, 1, 2},  // 7: kind 1, value 0: business only
      {9, 1, 4},  // 8: kind 1, value not 0: other only
  };
  std::int64_t yen = 1;
  for (int code = 1; code <= 8; ++code, yen *= 10) {
    const auto& d = departments[code - 1];
    Department(code, d.value, d.kind, d.category);
    Debit(chart::kTravel, yen, 0, 24, 1, code);
  }
  // Purchases: business department, real-estate department (counted nowhere), other.
  Debit(chart::kPurchases, 2, 0, 24, 2, 1);
  Debit(chart::kPurchases, 20, 0, 24, 2, 2);
  Debit(chart::kPurchases, 20000, 0, 24, 2, 5);
  // Booked without a department: no department sum holds it; its journal side takes a cleared
  // department record, which is other income.
  Debit(chart::kTravel, 3, 0, 24, 3);
  Asset(1, 20200501, 1, 5000, 1);
  Asset(2, 20200502, 1, 7000, 2);
  Asset(3, 20200503, 1, 9000, 0);
  Start(1, 12);
  EXPECT_EQ(SoleProprietor(), 1);
  const struct {
    const char* member;
    const StatementLine& got;
    std::int64_t settled, nonTaxable;
  } expected[] = {
      {"businessExpenses", totals_.businessExpenses, Yen(1001101), Yen(1001101)},
      {"realEstateExpenses", totals_.realEstateExpenses, Yen(110), Yen(110)},
      {"otherIncomeExpenses", totals_.otherIncomeExpenses, Yen(10111000), Yen(10111003)},
      {"businessPurchases", totals_.businessPurchases, Yen(2), Yen(2)},
      {"otherIncomePurchases", totals_.otherIncomePurchases, Yen(20000), Yen(20000)},
      {"businessFixedAssets", totals_.businessFixedAssets, Yen(5000), 0},
      {"realEstateFixedAssets", totals_.realEstateFixedAssets, Yen(7000), 0},
      {"otherIncomeFixedAssets", totals_.otherIncomeFixedAssets, 0, 0},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(e.got.settled, e.settled) << e.member;
    EXPECT_EQ(e.got.nonTaxable, e.nonTaxable) << e.member;
  }
  EXPECT_TRUE(totals_.goodsPurchases.IsZero());
}

TEST_F(SoleProprietorTest, FailedDepartmentLookupNeverReusesThePreviousRecord) {
  data_.incomeKinds = 3;
  AddData();
  Department(1, 5, 0, 1);
  // Two months, so that the sides are summed apart and the department looked up twice.
  Debit(chart::kTravel, 5, 0, 24, 1, 1);
  Debit(chart::kTravel, 7, 0, 24, 2, 1);
  Start(1, 12);
  ledvia::InjectFault("ClSetBumon::GetInfoByCode", 5103, 1);
  SoleProprietor();
  EXPECT_EQ(totals_.businessExpenses.nonTaxable, Yen(5));
  EXPECT_EQ(totals_.otherIncomeExpenses.nonTaxable, Yen(7));
}

struct KindsCase {
  int incomeKinds;
  int taxInclusive;
  StatementLine businessPurchases, businessExpenses, realEstateExpenses;
  std::int64_t businessAssets, realEstateAssets;
};

class IncomeKindsTest : public SoleProprietorTest, public testing::WithParamInterface<KindsCase> {};

// A purchase of 100 (tax 10), expenses of 10 (tax 1) in month 1 and 1 as the year-end
// adjustment, assets of income category 1 (1000) and 2 (2000), one of them after the range.
const KindsCase kKindsCases[] = {
    {1, 0, {Yen(100), Yen(100)}, {Yen(11), Yen(11)}, {}, Yen(3000), 0},
    {1, 1, {Yen(110), Yen(110)}, {Yen(12), Yen(12)}, {}, Yen(3000), 0},
    // Real estate only: purchases count nowhere.
    {2, 0, {}, {}, {Yen(11), Yen(11)}, 0, Yen(3000)},
};
INSTANTIATE_TEST_SUITE_P(Cases, IncomeKindsTest, testing::ValuesIn(kKindsCases));

TEST_P(IncomeKindsTest, OneIncomeKindTakesEverything) {
  const KindsCase& c = GetParam();
  data_.incomeKinds = c.incomeKinds;
  data_.taxInclusive = c.taxInclusive;
  AddData();
  Debit(chart::kPurchases, 100, 10, 24, 1);
  Debit(chart::kTravel, 10, 1, 24, 1);
  Debit(chart::kTravel, 1, 0, 24, 18);
  Asset(1, 20200501, 1, 1000, 1);
  Asset(2, 20200601, 1, 2000, 2);
  Asset(3, 20210401, 1, 4000, 1);
  Start(1, 12, false, true);
  EXPECT_EQ(SoleProprietor(), 1);
  const std::pair<const StatementLine&, const StatementLine&> lines[] = {
      {totals_.businessPurchases, c.businessPurchases},
      {totals_.businessExpenses, c.businessExpenses},
      {totals_.realEstateExpenses, c.realEstateExpenses}};
  for (const auto& [got, want] : lines) {
    EXPECT_EQ(got.settled, want.settled);
    EXPECT_EQ(got.nonTaxable, want.nonTaxable);
  }
  EXPECT_EQ(totals_.businessFixedAssets.settled, c.businessAssets);
  EXPECT_EQ(totals_.realEstateFixedAssets.settled, c.realEstateAssets);
  EXPECT_TRUE(totals_.otherIncomePurchases.IsZero());
  EXPECT_TRUE(totals_.otherIncomeExpenses.IsZero());
}

}  // namespace
}  // namespace engine_testing
