// Failure paths of the stages: business-core calls made to fail (ledvia fault injection) and
// amounts that leave the data model. A stage stops at its first failure, keeps what was added
// before it, and gives back every cursor it took.
#include "aggregate/tests/engine_fixture.h"
#include "ledvia/cursor_table.h"

namespace engine_testing {
namespace {

struct Fault {
  const char* call;  // nullptr: none
  int after;
};

class FailureTest : public EngineTest {
 protected:
  void Inject(const Fault& fault) {
    if (fault.call != nullptr) ledvia::InjectFault(fault.call, 5555, fault.after);
    cursorsBefore_ = ledvia::OpenSetCursorCount();
  }
  void ExpectCursorsGivenBack() { EXPECT_EQ(ledvia::OpenSetCursorCount(), cursorsBefore_); }

  int cursorsBefore_ = 0;
};

struct CorporateCase {
  Fault fault;
  int result;
  std::int64_t settled, nonTaxable, assets;
};

class CorporateFailureTest : public FailureTest,
                             public testing::WithParamInterface<CorporateCase> {};

// Purchases of 1,000 and 2,000 (both non-taxable), assets of 5,000 and 7,000. Account sums are
// walked in code order; the purchases account is the twelfth.
const CorporateCase kCorporateCases[] = {
    {{nullptr, 0}, 1, Yen(3000), Yen(3000), Yen(12000)},
    {{"ClRuleKamoku::new", 0}, 0, 0, 0, 0},
    {{"ClRuleKamoku::GetSumCount", 0}, 0, 0, 0, 0},
    {{"ClRuleKamoku::SetMovePos", 0}, 0, 0, 0, 0},
    {{"ClRuleKamoku::MoveNext", 11}, 0, 0, 0, 0},
    {{"ClRuleKamoku::MoveNext", 12}, 0, Yen(3000), 0, 0},
    {{"ClRuleShiwake::new", 0}, 0, Yen(3000), 0, 0},
    {{"ClSetKamoku::WalkFind", 0}, 0, Yen(3000), 0, 0},
    {{"ClRuleShiwake::GetSwkCount", 0}, 0, Yen(3000), 0, 0},
    {{"ClRuleShiwake::MoveNextSideSum", 1}, 0, Yen(3000), Yen(1000), 0},
    {{"ClRuleGenkashokyaku::new", 0}, 0, Yen(3000), Yen(3000), 0},
    {{"ClSetData::GetAccPeriod", 0}, 0, Yen(3000), Yen(3000), 0},
    {{"ClRuleGenkashokyaku::Move", 1}, 0, Yen(3000), Yen(3000), Yen(5000)},
};
INSTANTIATE_TEST_SUITE_P(Cases, CorporateFailureTest, testing::ValuesIn(kCorporateCases));

TEST_P(CorporateFailureTest, StageKeepsWhatWasAddedBefore) {
  const CorporateCase& c = GetParam();
  SCOPED_TRACE(c.fault.call != nullptr ? c.fault.call : "no fault");
  AddData();
  Debit(chart::kPurchases, 1000, 0, 24, 1);
  Debit(chart::kPurchases, 2000, 0, 24, 2);
  Asset(1, 20200501, 1, 5000);
  Asset(2, 20200601, 1, 7000);
  Start(1, 12);
  Inject(c.fault);
  EXPECT_EQ(Corporate(), c.result);
  EXPECT_EQ(totals_.goodsPurchases.settled, c.settled);
  EXPECT_EQ(totals_.goodsPurchases.nonTaxable, c.nonTaxable);
  EXPECT_EQ(totals_.fixedAssets, c.assets);
  ExpectCursorsGivenBack();
}

struct SoleCase {
  Fault fault;
  int result;
  std::int64_t businessSettled, realEstateSettled, businessNonTaxable, realEstateNonTaxable, assets;
};

class SoleFailureTest : public FailureTest, public testing::WithParamInterface<SoleCase> {};

// Departments 1 (business) and 2 (real estate) with expenses of 1,000 and 2,000; an asset of
// 5,000. Each department's account-sum walk takes 35 accounts and the end of data.
const SoleCase kSoleCases[] = {
    {{nullptr, 0}, 1, Yen(1000), Yen(2000), Yen(1000), Yen(2000), Yen(5000)},
    {{"ClSetBumon::GetBmnCount", 0}, 0, 0, 0, 0, 0, 0},
    {{"ClSetBumon::GetCursor", 0}, 0, 0, 0, 0, 0, 0},
    {{"ClSetBumon::ReadyCursor", 0}, 0, 0, 0, 0, 0, 0},
    // The stage stops at its first failure: what follows is not summed.
    {{"ClRuleKamoku::new", 0}, 0, 0, 0, 0, 0, 0},
    {{"ClRuleKamoku::MoveNext", 40}, 0, Yen(1000), 0, 0, 0, 0},
    {{"ClRuleShiwake::MoveNextSideSum", 1}, 0, Yen(1000), Yen(2000), Yen(1000), 0, 0},
    {{"ClRuleGenkashokyaku::new", 0}, 0, Yen(1000), Yen(2000), Yen(1000), Yen(2000), 0},
    {{"ClSetData::GetAccPeriod", 0}, 0, Yen(1000), Yen(2000), Yen(1000), Yen(2000), 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, SoleFailureTest, testing::ValuesIn(kSoleCases));

TEST_P(SoleFailureTest, StageKeepsWhatWasAddedBefore) {
  const SoleCase& c = GetParam();
  SCOPED_TRACE(c.fault.call != nullptr ? c.fault.call : "no fault");
  data_.entityKind = 3;
  data_.incomeKinds = 3;
  AddData();
  Department(1, 1, 0, 1);
  Department(2, 1, 0, 3);
  Debit(chart::kTravel, 1000, 0, 24, 1, 1);
  Debit(chart::kTravel, 2000, 0, 24, 1, 2);
  Asset(1, 20200501, 1, 5000, 1);
  Start(1, 12);
  Inject(c.fault);
  EXPECT_EQ(SoleProprietor(), c.result);
  EXPECT_EQ(totals_.businessExpenses.settled, c.businessSettled);
  EXPECT_EQ(totals_.realEstateExpenses.settled, c.realEstateSettled);
  EXPECT_EQ(totals_.businessExpenses.nonTaxable, c.businessNonTaxable);
  EXPECT_EQ(totals_.realEstateExpenses.nonTaxable, c.realEstateNonTaxable);
  EXPECT_EQ(totals_.businessFixedAssets.settled, c.assets);
  ExpectCursorsGivenBack();
}

struct RateStageCase {
  int stage;
  Fault fault;
  int result;
  std::int64_t figure;  // stage 3: taxable sales at 10 %; stage 4: the gain's tax sum
};

class RateStageFailureTest : public FailureTest,
                             public testing::WithParamInterface<RateStageCase> {};

const RateStageCase kRateStageCases[] = {
    {3, {nullptr, 0}, 1, Yen(10000)},
    {3, {"ClRuleShohizeiShinkoku::new", 0}, 0, 0},
    {3, {"ClDataMgr::GetSetObject:4", 0}, 0, 0},
    {3, {"ClRuleShohizeiShinkoku::SumTax", 0}, 0, 0},
    {4, {nullptr, 0}, 1, Yen(-10000)},
    {4, {"ClRuleShohizei::new", 0}, 0, 0},
    {4, {"ClSetKamoku::GetCursor", 0}, 0, 0},
    {4, {"ClDataMgr::GetSetObject:4", 0}, 0, 0},
    {4, {"ClRuleShohizei::MoveReady", 0}, 0, 0},
    // A tax-sum row that cannot be read would leave the sum short: the stage fails.
    {4, {"ClRuleShohizei::MoveNext", 0}, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, RateStageFailureTest, testing::ValuesIn(kRateStageCases));

TEST_P(RateStageFailureTest, RateStagesReportFailures) {
  const RateStageCase& c = GetParam();
  SCOPED_TRACE(c.fault.call != nullptr ? c.fault.call : "no fault");
  AddData();
  Add(chart::Sale(20200515, 10000, 1000, 0, 0, 1, chart::kAssetSaleGain));
  Start(1, 12);
  Inject(c.fault);
  if (c.stage == 3) {
    EXPECT_EQ(engine_->SumTaxByRate(totals_), c.result);
    EXPECT_EQ(totals_.rateRecords[0].AmountAt(9), c.figure);
  } else {
    EXPECT_EQ(engine_->SumSpecialAccounts(totals_, settings_), c.result);
    EXPECT_EQ(totals_.specialAccountSums[0], c.figure);
  }
  ExpectCursorsGivenBack();
}

// Amounts that reach 10^14 yen leave the stage as AmountOverflow, with every cursor given back
// and the members as they were before the sum that overflowed.
class OverflowTest : public FailureTest {
 protected:
  static constexpr std::int64_t kHuge = 60000000000000;  // 6 x 10^13 yen
};

TEST_F(OverflowTest, AccountSumsOfTheCorporateStatement) {
  AddData();
  Debit(chart::kPurchases, kHuge, 0, 24, 1);
  Debit(chart::kPurchases, kHuge, 0, 24, 2);
  Start(1, 12);
  Inject({nullptr, 0});
  EXPECT_THROW(Corporate(), AmountOverflow);
  EXPECT_EQ(totals_.goodsPurchases.settled, 0);
  ExpectCursorsGivenBack();
}

TEST_F(OverflowTest, DepartmentSumsWithTheDepartmentCursorOpen) {
  data_.entityKind = 3;
  data_.incomeKinds = 3;
  AddData();
  Department(1, 1, 0, 1);
  Debit(chart::kTravel, kHuge, 0, 24, 1, 1);
  Debit(chart::kTravel, kHuge, 0, 24, 2, 1);
  Start(1, 12);
  Inject({nullptr, 0});
  EXPECT_THROW(SoleProprietor(), AmountOverflow);
  ExpectCursorsGivenBack();
}

TEST_F(OverflowTest, JournalSidesWithTheLookupCursorOpen) {
  data_.entityKind = 3;
  data_.incomeKinds = 3;
  AddData();
  Department(1, 1, 0, 1);
  // Each account's balance is 0, but the non-taxable debit sides add up.
  for (int account : {chart::kTravel, chart::kSupplies}) {
    Debit(account, kHuge, 0, 24, 1, 1);
    Credit(account, kHuge, 0, 21, 1, 1);
  }
  Start(1, 12);
  Inject({nullptr, 0});
  EXPECT_THROW(SoleProprietor(), AmountOverflow);
  EXPECT_EQ(totals_.businessExpenses.nonTaxable, Yen(kHuge));
  ExpectCursorsGivenBack();
}

}  // namespace
}  // namespace engine_testing
