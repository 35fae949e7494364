// The progress window: titles and bar positions as the run's four advances and the engine's
// activity steps leave them, and how often the window comes to the front.
#include "ui/progress_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "winport/dialog_window.h"
#include "winport/script/recording_ui.h"

namespace {

// The titles the window showed at its repaints, each once in the order they came.
std::vector<std::string> TitlesShown(const winport::RecordingUiBackend& ui) {
  std::vector<std::string> titles;
  for (const auto& [title, notice] : ui.notices) {
    if (notice == winport::WindowNotice::Repaint && (titles.empty() || titles.back() != title)) {
      titles.push_back(title);
    }
  }
  return titles;
}

std::string Title(int percent) { return "集計中 " + std::to_string(percent) + "％"; }

TEST(ProgressDialog, AdvancesShowEveryTenthPercentAndEndFull) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  ProgressDialog progress;
  ASSERT_TRUE(progress.Create());
  const winport::DialogWindow& window = *progress.Window();
  EXPECT_FALSE(window.Visible());  // created hidden
  progress.ShowWindow(SW_SHOW);
  progress.ResetOverall();

  progress.Advance(0, 250);
  std::vector<std::string> titles = TitlesShown(ui);
  ASSERT_EQ(titles.size(), 26u);  // 0 % to 25 %
  EXPECT_EQ(titles.front(), Title(0));
  EXPECT_EQ(titles.back(), Title(25));
  EXPECT_EQ(window.Find(IDC_OVERALL_BAR)->pos, 250);
  // Each value sweeps the lower bar eleven times, each time to the front.
  EXPECT_EQ(window.timesBroughtToTop, 251 * 11);
  EXPECT_EQ(window.timesMadeForeground, 251 * 11);
  EXPECT_EQ(window.Find(IDC_ACTIVITY_BAR)->pos, 0);  // the eleventh step started it again

  progress.Advance(250, 500);
  progress.Advance(500, 750);
  progress.Advance(750, 1000);
  EXPECT_EQ(window.Find(IDC_OVERALL_BAR)->pos, 1000);
  EXPECT_EQ(window.title, Title(100));
  EXPECT_EQ(TitlesShown(ui).size(), 101u);

  progress.Finish();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.result, 1);
}

TEST(ProgressDialog, ElevenActivityStepsCloseOneCycle) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  ProgressDialog progress;
  ASSERT_TRUE(progress.Create());
  const winport::DialogWindow& window = *progress.Window();
  progress.FillActivity();
  progress.StepActivity();  // a full bar starts again
  progress.ResetActivity();
  CProgressCtrl bar;
  bar.Attach(window.Find(IDC_ACTIVITY_BAR)->handle);
  EXPECT_EQ(bar.GetPos(), 0);
  EXPECT_EQ(window.timesBroughtToTop, 1);
  for (int i = 0; i < 10; ++i) progress.StepActivity();
  EXPECT_EQ(progress.progressCounter(), 10);
  EXPECT_EQ(bar.GetPos(), 10);
  EXPECT_EQ(window.timesBroughtToTop, 1);
  progress.StepActivity();
  EXPECT_EQ(progress.progressCounter(), 0);
  EXPECT_EQ(bar.GetPos(), 1);
  EXPECT_EQ(window.timesBroughtToTop, 2);
  EXPECT_EQ(window.timesMadeForeground, 2);
  bar.Detach();
}

}  // namespace
