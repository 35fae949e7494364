// The run inside the program, on the sample company database: what only the program sees of
// it (the progress window, the wait cursor, the owner of its message boxes). What the caller
// and the file see is pinned by the end-to-end tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/ExportApp.h"
#include "ledvia/tests/company_fixture.h"
#include "tests/support/temp_folder.h"
#include "winport/recording_ui.h"
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

  testsupport::CurrentDirectoryGuard directory_;
  testsupport::TempFolder temp_;
  winport::RecordingUiBackend backend_;
  winport::ScopedUiBackend installed_{backend_};
  ExportApp app_;
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

}  // namespace
