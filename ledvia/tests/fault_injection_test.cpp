// Injected faults: by call, after a number of good calls, from the environment, and on
// creation of rule objects.
#include <gtest/gtest.h>

#include <cstring>

#include "accounting/ClAccPeriod.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClSaveTaxShiryo.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

class FaultInjectionTest : public SampleSession {};

TEST_F(FaultInjectionTest, NamedCallFailsWithTheInjectedCode) {
  auto* taxSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  StSHOHIZEIINFO info;
  std::memset(&info, 0x5a, sizeof info);
  InjectFault("ClSetShohizei::Get", 7);
  EXPECT_EQ(taxSet->Get(&info), 7);
  EXPECT_EQ(info.taxationKind, 0x5a);  // untouched
  EXPECT_EQ(taxSet->Get(&info), 7);    // and stays failing
  ClearFaults();
  EXPECT_EQ(taxSet->Get(&info), 0);

  InjectFault("ClSetShohizei::GetTaxRateCount", 3);
  EXPECT_EQ(taxSet->GetTaxRateCount(), 3);
  InjectFault("ClDataMgr::GetSetObject:4", 1);
  EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(4, 1), nullptr);
  EXPECT_NE(ClDataMgr::Inst()->GetSetObject(5, 1), nullptr);
}

TEST_F(FaultInjectionTest, FailsAfterGoodCalls) {
  ClRuleShiwake rule;
  ASSERT_EQ(rule.MoveReady(nullptr, nullptr, nullptr, 4), 0);
  InjectFault("ClRuleShiwake::MoveNext", 1234, 2);
  StSWKTINFO entry;
  EXPECT_EQ(rule.MoveNext(&entry), 0);
  EXPECT_EQ(rule.MoveNext(&entry), 0);
  EXPECT_EQ(rule.MoveNext(&entry), 1234);
  EXPECT_EQ(rule.MoveNext(&entry), 1234);
}

TEST_F(FaultInjectionTest, CreationCanBeMadeToFail) {
  InjectFault("ClRuleShiwake::new", 1);
  ClRuleShiwake* rule = new (std::nothrow) ClRuleShiwake;
  EXPECT_EQ(rule, nullptr);
  ClSaveTaxShiryo* save = new (std::nothrow) ClSaveTaxShiryo;  // another class is unaffected
  EXPECT_NE(save, nullptr);
  delete save;
  EXPECT_THROW(delete new ClRuleShiwake, std::bad_alloc);
}

TEST_F(FaultInjectionTest, PeriodCalendarFaultsComeBackAsInjected) {
  auto* dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  for (const char* call :
       {"ClAccPeriod::SetClosingDay", "ClAccPeriod::SetPeriod", "ClAccPeriod::GetAMonthByDate"}) {
    InjectFault(call, 4321);
    ClAccPeriod* period = reinterpret_cast<ClAccPeriod*>(1);
    EXPECT_EQ(dataSet->GetAccPeriod(&period), 4321) << call;
    EXPECT_EQ(period, nullptr) << call;
    ClearFaults();
  }
  ClAccPeriod* period = nullptr;
  ASSERT_EQ(dataSet->GetAccPeriod(&period), 0);
  delete period;
}

TEST(FaultSpecTest, VariableSyntax) {
  EXPECT_EQ(LoadFaults("A::B=12,C::D=-7@2,,E::F=3@0"), 0);
  EXPECT_EQ(FaultFor("A::B"), 12);
  EXPECT_EQ(FaultFor("C::D"), 0);
  EXPECT_EQ(FaultFor("C::D"), 0);
  EXPECT_EQ(FaultFor("C::D"), -7);
  EXPECT_EQ(FaultFor("E::F"), 3);
  // Malformed items are skipped, the good ones kept.
  const char* malformed[] = {"X::Y",    "=5",        "X::Y=0",          "X::Y=abc",
                             "X::Y=5@", "X::Y=5@-1", "X::Y=99999999999"};
  for (const char* item : malformed) {
    EXPECT_EQ(LoadFaults(std::string(item) + ",Good::Call=4"), 1) << item;
    EXPECT_EQ(FaultFor("X::Y"), 0) << item;
    EXPECT_EQ(FaultFor("Good::Call"), 4) << item;
  }
  ClearFaults();
  EXPECT_EQ(FaultFor("Good::Call"), 0);
}

}  // namespace
}  // namespace ledvia::testing
