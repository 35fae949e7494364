// The run inside the program, on the sample company database: what only the program sees of
// it (the progress window, the wait cursor, the owner of its message boxes). What the caller
// and the file see is pinned by the end-to-end tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>

#include "app/ExportApp.h"
#include "app/run_messages.h"
#include "ledvia/fault_injection.h"
#include "tests/support/company_fixture.h"
#include "tests/support/temp_folder.h"
#include "winport/script/recording_ui.h"
#include "winport/user_windows.h"

namespace {

using winport::UiEvent;
using winport::WindowNotice;

class ExportRunTest : public ledvia::testing::SampleSession {
 protected:
  // Runs the program without a handshake for `user`, choosing the saved figures when asked.
  BOOL Run(const char* user, bool savedFigures) {
    SelectUser(user);
    testsupport::EnvGuard data("LEDVIA_DATA", path_.c_str());
    testsupport::EnvGuard home("LEDVIA_HOME", (temp_ / "home").c_str());
    if (savedFigures) backend_.events.push_back(UiEvent::Click(1031));
    backend_.events.push_back(UiEvent::Type(1008, testsupport::WindowsPath(temp_ / "out.xml")));
    backend_.events.push_back(UiEvent::Key(VK_F12));
    BOOL started = app_.InitInstance();
    app_.ExitInstance();
    return started;
  }
  bool ProgressShown() const {
    return std::any_of(backend_.notices.begin(), backend_.notices.end(), [](const auto& n) {
      return n.first.rfind("集計中", 0) == 0 && n.second == WindowNotice::Shown;
    });
  }

  bool Shown(const std::string& text) const {
    return std::any_of(backend_.boxes.begin(), backend_.boxes.end(),
                       [&](const auto& box) { return box.text == text; });
  }

  testsupport::CurrentDirectoryGuard directory_;
  testsupport::TempFolder temp_;
  winport::RecordingUiBackend backend_;
  winport::ScopedUiBackend installed_{backend_};
  ExportApp app_{*EditionNamed("tessaly")};
};

TEST_F(ExportRunTest, JournalRunShowsProgressUnderTheWaitCursor) {
  EXPECT_TRUE(Run("user7", false));
  EXPECT_EQ(app_.resultCode, kResultDone);
  EXPECT_TRUE(ProgressShown());
  // Hidden by Finish with the bar full, then destroyed with the run.
  const std::pair<std::string, WindowNotice> hidden = {"集計中 100％", WindowNotice::Hidden};
  const std::pair<std::string, WindowNotice> destroyed = {"集計中 100％", WindowNotice::Destroyed};
  auto at = std::find(backend_.notices.begin(), backend_.notices.end(), hidden);
  EXPECT_NE(at, backend_.notices.end());
  EXPECT_NE(std::find(at, backend_.notices.end(), destroyed), backend_.notices.end());
  EXPECT_EQ(backend_.waitCursor, (std::vector<bool>{true, false}));
  // The completion message belongs to the progress window, not to the missing caller.
  ASSERT_EQ(backend_.boxes.size(), 1u);
  EXPECT_NE(backend_.boxes[0].owner, nullptr);
  EXPECT_EQ(app_.savedFigures, nullptr);
  EXPECT_TRUE(app_.totals.rateRecords.empty());
}

TEST_F(ExportRunTest, SavedFiguresRunKeepsTheProgressWindowHidden) {
  EXPECT_TRUE(Run("user1", true));
  EXPECT_EQ(app_.resultCode, kResultDone);
  EXPECT_FALSE(ProgressShown());
  EXPECT_TRUE(backend_.waitCursor.empty());
  ASSERT_EQ(backend_.boxes.size(), 1u);
  EXPECT_NE(backend_.boxes[0].owner, nullptr);
}

// What the user is told when a stage or a check fails.
enum class Told { kLibrary, kOwn, kSettings };

struct FailureCase {
  const char* user;  // user7 corporate, user3 sole proprietor, both general taxation
  const char* call;
  int code;
  int after;
  Told told;
};

// What gtest (and CTest's list of tests) shows for a row, instead of the record's bytes.
void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.user << " " << c.call << " after " << c.after;
}

class ExportRunFailureTest : public ExportRunTest,
                             public testing::WithParamInterface<FailureCase> {};

// One business-core call made to fail in each check and stage: the run stops before the file
// is opened, with result 2 and no completion message.
const FailureCase kFailureCases[] = {
    {"user7", "ClSetShohizei::Get", 7, 0, Told::kSettings},
    {"user7", "ClDataMgr::GetSetObject:4", 7, 0, Told::kSettings},
    {"user7", "ClRuleShiwake::CheckExistSwkByJigyoBunrui", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShiwake::GetSwkCount", 7, 0, Told::kLibrary},
    {"user7", "ClSetShohizei::GetTaxRateCount", -7, 0, Told::kLibrary},
    {"user7", "ClSetShohizei::Get", 7, 1, Told::kSettings},
    {"user7", "ClRuleShohizeiShinkoku::new", 7, 0, Told::kOwn},
    {"user7", "ClRuleShohizeiShinkoku::SumTax", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShohizei::new", 7, 0, Told::kOwn},
    {"user7", "ClSetKamoku::WalkFind", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShohizei::MoveReady", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShohizei::GetSumInfoCount", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShohizei::MoveNext", 7, 0, Told::kLibrary},
    {"user7", "ClRuleKamoku::MoveReady", 7, 0, Told::kLibrary},
    {"user7", "ClRuleKamoku::GetSumCount", 7, 0, Told::kLibrary},
    {"user7", "ClRuleKamoku::SetMovePos", 7, 0, Told::kLibrary},
    {"user7", "ClRuleKamoku::MoveNext", 7, 3, Told::kLibrary},
    {"user7", "ClRuleShiwake::GetSwkCount", 7, 1, Told::kLibrary},
    {"user7", "ClRuleShiwake::MoveReadySideSum", 7, 0, Told::kLibrary},
    {"user7", "ClRuleShiwake::MoveNextSideSum", 7, 1, Told::kLibrary},
    {"user7", "ClSetData::GetAccPeriod", 7, 0, Told::kLibrary},
    {"user7", "ClRuleGenkashokyaku::new", 7, 0, Told::kOwn},
    {"user7", "ClRuleGenkashokyaku::MoveReady", 7, 0, Told::kLibrary},
    {"user7", "ClRuleGenkashokyaku::GetCount", 7, 0, Told::kLibrary},
    {"user1", "ClRuleGenkashokyaku::Move", 7, 0, Told::kLibrary},
    {"user7", "ClAccPeriod::GetPeriodByMonthKind", 7, 0, Told::kLibrary},
    {"user3", "ClRuleShiwake::GetSwkCount", 7, 0, Told::kLibrary},
    {"user3", "ClSetShohizei::Get", 7, 1, Told::kSettings},
    {"user3", "ClRuleShohizeiShinkoku::SumTax", 7, 0, Told::kLibrary},
    {"user3", "ClRuleShohizei::MoveNext", 7, 0, Told::kLibrary},
    {"user3", "ClSetBumon::GetBmnCount", 7, 0, Told::kLibrary},
    {"user3", "ClSetBumon::GetCursor", 7, 0, Told::kLibrary},
    {"user3", "ClSetBumon::Walk", 7, 1, Told::kLibrary},
    {"user3", "ClRuleKamoku::new", 7, 0, Told::kOwn},
    {"user3", "ClRuleKamoku::MoveNext", 7, 40, Told::kLibrary},
    {"user3", "ClRuleShiwake::GetSwkCount", 7, 1, Told::kLibrary},
    {"user3", "ClRuleShiwake::MoveNextSideSum", 7, 2, Told::kLibrary},
    {"user3", "ClSetData::GetAccPeriod", 7, 0, Told::kLibrary},
    {"user3", "ClRuleGenkashokyaku::Move", 7, 1, Told::kLibrary},
    {"user3", "ClAccPeriod::GetPeriodByMonthKind", 7, 1, Told::kLibrary},
};
// Named for the user, the call and when it fails, so that a failing row says which it is.
std::string FailureCaseName(const testing::TestParamInfo<FailureCase>& info) {
  std::string name = std::string(info.param.user) + "_" + info.param.call + "_after" +
                     std::to_string(info.param.after);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return std::to_string(info.index) + "_" + name;
}
INSTANTIATE_TEST_SUITE_P(Cases, ExportRunFailureTest, testing::ValuesIn(kFailureCases),
                         FailureCaseName);

TEST_P(ExportRunFailureTest, AFailedStageEndsTheRunBeforeTheFile) {
  const FailureCase& c = GetParam();
  SCOPED_TRACE(testing::Message() << c.user << " " << c.call << "@" << c.after);
  ledvia::InjectFault(c.call, c.code, c.after);
  EXPECT_FALSE(Run(c.user, false));
  EXPECT_EQ(app_.resultCode, kResultFailed);
  EXPECT_FALSE(std::filesystem::exists(temp_ / "out.xml"));
  EXPECT_FALSE(Shown(kCompletionMessage));
  switch (c.told) {
    case Told::kLibrary:
      // The accounting product's own message names the code of the call that failed.
      ASSERT_FALSE(backend_.boxes.empty());
      EXPECT_TRUE(backend_.boxes.back().text.ends_with("エラーコード：" + std::to_string(c.code)))
          << backend_.boxes.back().text;
      break;
    case Told::kOwn:
      EXPECT_TRUE(Shown(kAggregationFailedMessage));
      break;
    case Told::kSettings:
      EXPECT_TRUE(Shown(kTaxSettingsUnreadableMessage));
      break;
  }
}

}  // namespace
