// The set objects and the system user against the sample database.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "accounting/ClDataMgr.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClSetBumon.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetKamoku.h"
#include "accounting/ClSetShohizei.h"
#include "ledvia/status_codes.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

template <typename Set>
Set* SetObject(int id) {
  return static_cast<Set*>(ClDataMgr::Inst()->GetSetObject(id, 1));
}

class SetObjectsTest : public SampleSession {};

TEST_F(SetObjectsTest, DataWalkGivesEveryDataInOrder) {
  auto* dataSet = SetObject<ClSetData>(5);
  ASSERT_NE(dataSet, nullptr);
  SETCURSOR cursor = 0;
  ASSERT_EQ(dataSet->GetDatCursor(&cursor), 0);
  ASSERT_EQ(dataSet->ReadyDat(cursor, 0), 0);
  std::vector<int> numbers;
  StDATAINFO info;
  int code = 0;
  while ((code = dataSet->WalkDat(&info, cursor)) == 0) {
    numbers.push_back(info.dataNo);
    if (info.dataNo == 6) {
      EXPECT_STREQ(info.dataId, "INT2020");
      EXPECT_STREQ(info.companyName, "株式会社カナデ製作所");
      EXPECT_EQ(info.periodStart, 20200401);
      EXPECT_EQ(info.periodEnd, 20210331);
      EXPECT_EQ(info.interimClosing, 1);
    }
    if (info.dataNo == 3) {
      EXPECT_EQ(info.entityKind, 3);
      EXPECT_EQ(info.incomeKinds, 3);
    }
    if (info.dataNo == 5) {
      EXPECT_EQ(info.dataKind, kDataKindPastResults);
    }
  }
  EXPECT_EQ(code, kEndOfData);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(dataSet->ReleaseDatCursor(cursor), 0);
  EXPECT_NE(dataSet->ReleaseDatCursor(cursor), 0);  // already released
  EXPECT_NE(dataSet->WalkDat(&info, cursor), 0);
}

TEST_F(SetObjectsTest, UsersSelectTheirData) {
  ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
  ASSERT_NE(user, nullptr);
  const struct {
    const char* user;
    int selected;  // 0: no such data
  } cases[] = {{"user1", 1}, {"user3", 3}, {"user7", 7}, {"nodata", 0}};
  for (const auto& c : cases) {
    SelectUser(c.user);
    char id[kUserIdMax + 1];
    ASSERT_EQ(user->GetCurUserID(id), 0);
    EXPECT_STREQ(id, c.user);
    int first = 0;
    int second = 0;
    ASSERT_EQ(user->GetSelectedNo(id, &first, &second), 0);
    EXPECT_EQ(first, 1);
    StDATAINFO info;
    std::memset(&info, 0, sizeof info);
    int code = SetObject<ClSetData>(5)->GetSelectedInfo(&info);
    if (c.selected == 0) {
      EXPECT_EQ(second, 99);
      EXPECT_NE(code, 0);
    } else {
      EXPECT_EQ(second, c.selected);
      EXPECT_EQ(code, 0);
      EXPECT_EQ(info.dataNo, c.selected);
    }
  }
  int first = 5;
  int second = 6;
  EXPECT_EQ(user->GetSelectedNo("stranger", &first, &second), kNotFound);
  EXPECT_EQ(first, 5);
  EXPECT_EQ(second, 6);
}

TEST_F(SetObjectsTest, TaxSettingsFollowTheChosenData) {
  auto* taxSet = SetObject<ClSetShohizei>(4);
  ASSERT_NE(taxSet, nullptr);
  EXPECT_EQ(taxSet->GetTaxRateCount(), 5);
  const struct {
    const char* id;
    int taxation, rounding, deduction, main, inclusive;
  } cases[] = {{"GEN2019", 2, 0, 0, 0, 0},
               {"SIM2014", 1, 0, 0, 1, 0},
               {"IND2019", 2, 1, 1, 0, 1},
               {"EXM2019", 0, 0, 0, 0, 0},
               {"CAL2020", 2, 2, 1, 0, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(taxSet->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), 0);
    ASSERT_EQ(taxSet->SetCurDataID(c.id), 0) << c.id;
    StSHOHIZEIINFO info;
    std::memset(&info, 0xee, sizeof info);
    ASSERT_EQ(taxSet->Get(&info), 0) << c.id;
    EXPECT_EQ(info.taxationKind, c.taxation) << c.id;
    EXPECT_EQ(info.roundingMode, c.rounding) << c.id;
    EXPECT_EQ(info.deductionMethod, c.deduction) << c.id;
    EXPECT_EQ(info.mainBusinessType, c.main) << c.id;
    EXPECT_EQ(info.taxInclusive, c.inclusive) << c.id;
    EXPECT_EQ(info.reserved1, 0) << c.id;
  }
  EXPECT_EQ(taxSet->SetCurDataID("NOSUCH"), kNotFound);
  // A refused id gives no settings, not those of the data chosen before.
  StSHOHIZEIINFO refused;
  std::memset(&refused, 0xee, sizeof refused);
  EXPECT_EQ(taxSet->Get(&refused), kNotFound);
  EXPECT_EQ(refused.taxationKind, 0xee);
  // A 16-byte id field without a terminator is read as 16 bytes.
  char unterminated[16];
  std::memset(unterminated, 'X', sizeof unterminated);
  EXPECT_EQ(taxSet->SetCurDataID(unterminated), kNotFound);
  EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(3, 1), nullptr);
}

TEST_F(SetObjectsTest, AccountsByClassification) {
  auto* accounts = SetObject<ClSetKamoku>(1);
  StFINDINFO find[2];
  std::memset(find, 0, sizeof find);
  SetFindCondition(find[0], kFindItemClassCode, 0, kFindOpEqual, kFindValueClassCode, 0x40882040);
  find[0].link = kFindLinkOr;
  SetFindCondition(find[1], kFindItemClassCode, 0, kFindOpEqual, kFindValueClassCode, 0x40888000);
  SETCURSOR cursor = 0;
  ASSERT_EQ(accounts->GetCursor(&cursor), 0);
  ASSERT_EQ(accounts->ReadyCursor(cursor), 0);
  StKAMOKUINFO info;
  std::vector<std::string> found;
  while (accounts->WalkFind(find, &info, cursor) == 0) {
    found.push_back(std::string(info.codeText) + (info.excluded != 0 ? " excluded" : ""));
  }
  EXPECT_EQ(found, (std::vector<std::string>{"610", "850", "990 excluded"}));
  ASSERT_EQ(accounts->ReadyCursor(cursor), 0);  // readying again starts over
  ASSERT_EQ(accounts->WalkFind(find, &info, cursor), 0);
  EXPECT_EQ(info.accountCode, 610);
  EXPECT_EQ(info.classCode, 0x40882040);
  EXPECT_EQ(accounts->ReleaseCursor(cursor), 0);
}

TEST_F(SetObjectsTest, Departments) {
  auto* departments = SetObject<ClSetBumon>(2);
  int count = -1;
  ASSERT_EQ(departments->GetBmnCount(&count, 0), 0);
  EXPECT_EQ(count, 0);  // user1's data has none
  SelectUser("user3");
  ASSERT_EQ(departments->GetBmnCount(&count, 0), 0);
  EXPECT_EQ(count, 6);
  SETCURSOR cursor = 0;
  ASSERT_EQ(departments->GetCursor(&cursor), 0);
  ASSERT_EQ(departments->ReadyCursor(cursor), 0);
  StBUMONINFO info;
  std::vector<int> kinds;
  while (departments->Walk(&info, cursor) == 0) kinds.push_back(info.kind);
  EXPECT_EQ(kinds, (std::vector<int>{0, 0, 1, 1, 2, 0}));
  ASSERT_EQ(departments->ReadyCursor(cursor), 0);
  ASSERT_EQ(departments->GetInfoByCode(cursor, 3, &info), 0);
  EXPECT_EQ(info.value, 0);
  EXPECT_EQ(info.kind, 1);
  EXPECT_EQ(info.incomeCategory, 3);
  // No department of that code: a cleared record, not the previous one.
  EXPECT_NE(departments->GetInfoByCode(cursor, 42, &info), 0);
  EXPECT_EQ(info.kind, 0);
  EXPECT_EQ(info.incomeCategory, 0);
  EXPECT_EQ(departments->ReleaseCursor(cursor), 0);
}

TEST_F(SetObjectsTest, NoSessionIsAFailureNotACrash) {
  // A walk left open when the session closes: the connection goes with the walk's cursor.
  ClRuleShiwake open;
  ASSERT_EQ(open.MoveReady(nullptr, nullptr, nullptr, 4), 0);
  CloseCompanyDatabase();
  StDATAINFO info;
  EXPECT_EQ(SetObject<ClSetData>(5)->GetSelectedInfo(&info), kNoSession);
  SETCURSOR cursor = 0;
  EXPECT_EQ(SetObject<ClSetKamoku>(1)->GetCursor(&cursor), kNoSession);
  StSHOHIZEIINFO settings;
  EXPECT_EQ(SetObject<ClSetShohizei>(4)->Get(&settings), kNoSession);
  ClAccPeriod* period = reinterpret_cast<ClAccPeriod*>(1);
  EXPECT_EQ(SetObject<ClSetData>(5)->GetAccPeriod(&period), kNoSession);
  EXPECT_EQ(period, nullptr);
}

}  // namespace
}  // namespace ledvia::testing
