// The progress window: titles and bar positions as the run's four advances and the engine's
// activity steps leave them, and how often the window comes to the front.
#include "ui/progress_dialog.h"

#include <gtest/gtest.h>

#include <cstdint>
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
  progress.StepActivity(1);  // a full bar starts again
  progress.ResetActivity();
  CProgressCtrl bar;
  bar.Attach(window.Find(IDC_ACTIVITY_BAR)->handle);
  EXPECT_EQ(bar.GetPos(), 0);
  EXPECT_EQ(window.timesBroughtToTop, 1);
  for (int i = 0; i < 10; ++i) progress.StepActivity(1);
  EXPECT_EQ(progress.progressCounter(), 10);
  EXPECT_EQ(bar.GetPos(), 10);
  EXPECT_EQ(window.timesBroughtToTop, 1);
  progress.StepActivity(1);
  EXPECT_EQ(progress.progressCounter(), 0);
  EXPECT_EQ(bar.GetPos(), 1);
  EXPECT_EQ(window.timesBroughtToTop, 2);
  EXPECT_EQ(window.timesMadeForeground, 2);
  bar.Detach();
}

// What a front end is shown of the lower bar: the position at each repaint, and whether the
// window was asked to the front since the repaint before.
class BarFrames : public winport::RecordingUiBackend {
 public:
  struct Frame {
    int pos;
    bool front;
    bool operator==(const Frame&) const = default;
  };

  void Notify(const winport::DialogWindow& dialog, winport::WindowNotice notice) override {
    if (notice == winport::WindowNotice::BroughtToTop) front_ = true;
    if (notice == winport::WindowNotice::Repaint) {
      frames.push_back({dialog.Find(IDC_ACTIVITY_BAR)->pos, front_});
      front_ = false;
    }
  }

  std::vector<Frame> frames;

 private:
  bool front_ = false;
};

// The activity calls of a run: a positive number is that many steps in one call, 0 one call
// of no steps, -1 a stage reset, -2 a sweep, -3 the bar filled. Steps come before the first
// reset too, while the bar still has its template's range.
constexpr std::int64_t kActivityCalls[] = {
    3, -1, 1,  9,  1,  0,   1, 10, 11, 12, 23, 5, 1000, 7,  -2, 3, 8,  22, 11, -3,
    1, 4,  -3, 13, -1, 121, 1, -2, 10, 1,  2,  9, -3,   11, 33, 1, -1, 11, 10, 2,
};

// What a front end was shown by each call of kActivityCalls, made with each batch of steps in
// one call (`batched`) or one step at a time: the position at the call's last repaint (-1: no
// repaint), whether any of its steps asked for the front, and the counter it left.
struct CallShown {
  int pos;
  bool front;
  int counter;
  bool operator==(const CallShown&) const = default;
};

std::vector<CallShown> ShownByRun(bool batched) {
  BarFrames ui;
  winport::ScopedUiBackend scope(ui);
  ProgressDialog progress;
  EXPECT_TRUE(progress.Create());
  std::vector<CallShown> shown;
  for (std::int64_t call : kActivityCalls) {
    if (call == -1) {
      progress.ResetActivity();
    } else if (call == -2) {
      progress.SweepActivity();
    } else if (call == -3) {
      progress.FillActivity();
    } else if (batched) {
      progress.StepActivity(call);
    } else {
      for (std::int64_t i = 0; i < call; ++i) progress.StepActivity(1);
    }
    bool front = false;
    for (const BarFrames::Frame& frame : ui.frames) front = front || frame.front;
    shown.push_back(
        {ui.frames.empty() ? -1 : ui.frames.back().pos, front, progress.progressCounter()});
    ui.frames.clear();
  }
  return shown;
}

// A walk that reports its steps together must show a person the same bar as one that steps
// record by record, wherever it stops: the front ends repaint at the end of each call.
TEST(ProgressDialog, StepsReportedTogetherShowWhatSingleStepsShow) {
  std::vector<CallShown> single = ShownByRun(false);
  std::vector<CallShown> batched = ShownByRun(true);
  ASSERT_EQ(batched.size(), single.size());
  for (std::size_t i = 0; i < single.size(); ++i) {
    EXPECT_EQ(batched[i].pos, single[i].pos) << "call " << i;
    EXPECT_EQ(batched[i].front, single[i].front) << "call " << i;
    EXPECT_EQ(batched[i].counter, single[i].counter) << "call " << i;
  }
  // An anchor: after the reset, one step and nine more leave the bar full.
  EXPECT_EQ(single[3].pos, 10);
}

}  // namespace
