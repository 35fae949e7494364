// Saved figures and period months against the sample company database: one user per data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "accounting/ClDataMgr.h"
#include "accounting/ClMsgMgr.h"
#include "accounting/ClSetData.h"
#include "app/period.h"
#include "app/saved_figures.h"
#include "tests/support/company_fixture.h"

namespace {

using ledvia::testing::SampleSession;

class SavedFiguresTest : public SampleSession {
 protected:
  StDATAINFO SelectedData() {
    StDATAINFO data;
    std::memset(&data, 0, sizeof data);
    auto* dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
    EXPECT_NE(dataSet, nullptr);
    if (dataSet != nullptr) {
      EXPECT_EQ(dataSet->GetSelectedInfo(&data), 0);
    }
    return data;
  }
  // A recorded outcome that no routine produces, to see whether a routine recorded anything.
  void MarkRecord() { ClMsgMgr::Inst()->SetLastError(4242, "marker", 1); }

  std::vector<unsigned char> buffer_ = std::vector<unsigned char>(kSavedFiguresBufferSize, 0);
};

TEST_F(SavedFiguresTest, OfferedOnlyWhenTheFiguresBelongToTheDataAsItIs) {
  const struct {
    const char* user;
    int expected;
    const char* why;
  } cases[] = {
      {"user1", 1, "saved for this period, general, individual attribution"},
      {"user2", 0, "saved under general taxation, data now simplified"},
      {"user3", 0, "nothing saved"},
      {"user4", 1, "exempt data saved under the general method"},
      {"user5", 0, "nothing saved (past results)"},
      {"user6", 0, "saved without interim closing, data now closes at mid-year"},
      {"user7", 0, "saved for the previous period"},
  };
  for (const auto& c : cases) {
    SelectUser(c.user);
    std::fill(buffer_.begin(), buffer_.end(), 0);
    StDATAINFO data = SelectedData();
    EXPECT_EQ(PrepareSavedFigures(buffer_.data(), data), c.expected) << c.user << ": " << c.why;
  }
}

TEST_F(SavedFiguresTest, EachConditionOfTheMatchOnItsOwn) {
  StDATAINFO data = SelectedData();
  ASSERT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), 0);
  ASSERT_EQ(SavedFiguresMatchData(buffer_.data(), data), 1);
  const struct {
    const char* what;
    std::size_t offset;
    unsigned char value;
  } changes[] = {
      {"period start", StSaveTaxInfo::kPeriodStart, 2},
      {"period end", StSaveTaxInfo::kPeriodEnd + 1, 0},
      {"interim closing", StSaveTaxInfo::kInterimClosing, 2},
      {"taxation method", StSaveTaxInfo::kTaxationMethod, 2},
      {"deduction method", StSaveTaxInfo::kDeductionMethod, 2},
  };
  for (const auto& change : changes) {
    std::vector<unsigned char> changed = buffer_;
    changed[change.offset] = change.value;
    EXPECT_EQ(SavedFiguresMatchData(changed.data(), data), 0) << change.what;
  }
  // Nothing saved: the period fields are 0 even when the data's period were 0 too.
  std::vector<unsigned char> empty(kSavedFiguresBufferSize, 0);
  StDATAINFO zero;
  std::memset(&zero, 0, sizeof zero);
  EXPECT_EQ(SavedFiguresMatchData(empty.data(), zero), 0);
}

// Tax settings that cannot be read would read as exempt data saved under the general method,
// which the figures of user1 (general, individual attribution) would match.
TEST_F(SavedFiguresTest, UnreadableTaxSettingsMatchNothing) {
  StDATAINFO data = SelectedData();
  ASSERT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), 0);
  ledvia::InjectFault("ClSetShohizei::Get", 6170);
  EXPECT_EQ(SavedFiguresMatchData(buffer_.data(), data), 0);
  ledvia::ClearFaults();
  EXPECT_EQ(SavedFiguresMatchData(buffer_.data(), data), 1);
}

TEST_F(SavedFiguresTest, LoadRecordsItsOutcome) {
  StDATAINFO data = SelectedData();
  MarkRecord();
  EXPECT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), 0);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().code, 0);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().line, 0);
  EXPECT_EQ(StSaveTaxInfo::Int32(buffer_.data(), StSaveTaxInfo::kPeriodStart), 20190401);

  ledvia::InjectFault("ClSaveTaxShiryo::GetTaxSaveInfo", 6170);
  EXPECT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), 6170);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().code, 6170);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().source, "ControlATS31");
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().line, 8436);
  EXPECT_EQ(PrepareSavedFigures(buffer_.data(), data), 0);
  ledvia::ClearFaults();

  // The save object cannot be created: -1, and nothing is recorded.
  ledvia::InjectFault("ClSaveTaxShiryo::new", 1);
  MarkRecord();
  EXPECT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), -1);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().code, 4242);
}

TEST_F(SavedFiguresTest, UnknownDataLoadsNothing) {
  // No data matched the selection: the run goes on with an all-zero record.
  StDATAINFO zero;
  std::memset(&zero, 0, sizeof zero);
  EXPECT_NE(LoadSavedFigures(buffer_.data(), zero.dataId), 0);
  EXPECT_EQ(std::count(buffer_.begin(), buffer_.end(), 0), static_cast<long>(buffer_.size()));
  EXPECT_EQ(PrepareSavedFigures(buffer_.data(), zero), 0);
}

TEST_F(SavedFiguresTest, MonthStartDates) {
  const struct {
    const char* user;
    std::int16_t month;
    std::int32_t first;
  } cases[] = {
      {"user1", 4, 20190401}, {"user1", 3, 20200301}, {"user1", 12, 20191201},
      {"user7", 1, 20191221}, {"user7", 4, 20200321}, {"user7", 12, 20201121},
      {"user1", 13, 0},       {"nodata", 4, 0},
  };
  for (const auto& c : cases) {
    SelectUser(c.user);
    EXPECT_EQ(MonthStartDate(c.month), c.first) << c.user << " month " << c.month;
  }
}

// Every failure of the calendar ends the routines with 0 (the leak check at exit sees that
// each calendar taken was released on the way).
TEST_F(SavedFiguresTest, CalendarFailuresGiveNothing) {
  StDATAINFO data = SelectedData();
  ASSERT_EQ(LoadSavedFigures(buffer_.data(), data.dataId), 0);
  const struct {
    const char* fault;
    int match;
    std::int32_t start;
  } cases[] = {{"ClSetData::GetAccPeriod", 0, 0},
               {"ClAccPeriod::GetPeriod", 0, 20190401},
               {"ClAccPeriod::GetPeriodByAMonth", 1, 0},
               {"ClDataMgr::GetSetObject:5", 0, 0}};
  for (const auto& c : cases) {
    ledvia::InjectFault(c.fault, 3200);
    EXPECT_EQ(SavedFiguresMatchData(buffer_.data(), data), c.match) << c.fault;
    EXPECT_EQ(MonthStartDate(4), c.start) << c.fault;
    ledvia::ClearFaults();
  }
  // A missing data set has no library code of its own: -1 is recorded, the months stay.
  ledvia::InjectFault("ClDataMgr::GetSetObject:5", 1);
  std::int16_t first = 7;
  std::int16_t last = 8;
  EXPECT_EQ(SavedFiguresMonths(20190401, 20200331, &first, &last), -1);
  EXPECT_EQ(first, 7);
  EXPECT_EQ(last, 8);
}

TEST_F(SavedFiguresTest, SavedFiguresMonths) {
  std::int16_t first = 0;
  std::int16_t last = 0;
  MarkRecord();
  EXPECT_EQ(SavedFiguresMonths(20190401, 20200331, &first, &last), 0);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 3);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().code, 0);

  // A date the calendar cannot place gives 0 and its status is recorded.
  EXPECT_NE(SavedFiguresMonths(20190401, 0, &first, &last), 0);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 0);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().line, 8520);

  // Without a calendar the months stay as they were.
  first = 11;
  last = 12;
  ledvia::InjectFault("ClSetData::GetAccPeriod", 3101);
  EXPECT_EQ(SavedFiguresMonths(20190401, 20200331, &first, &last), 3101);
  EXPECT_EQ(first, 11);
  EXPECT_EQ(last, 12);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().code, 3101);
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().source, "ControlATS31");
  EXPECT_EQ(ClMsgMgr::Inst()->LastRecorded().line, 8520);
}

}  // namespace
