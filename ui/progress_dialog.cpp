#include "ui/progress_dialog.h"

#include <cstdio>

#include "resources/dialogs.h"

namespace {

constexpr int kOverallEnd = 1000;
constexpr int kCycleEnd = 10;

}  // namespace

ProgressDialog::ProgressDialog(CWnd* parent) : CDialog(LoadDialogTemplate(IDD_PROGRESS), parent) {}

// The window goes first, while the object is still whole.
ProgressDialog::~ProgressDialog() { DestroyWindow(); }

BOOL ProgressDialog::Create() { return CDialog::Create(m_pParentWnd); }

void ProgressDialog::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, IDC_ACTIVITY_BAR, activityBar_);
  DDX_Control(dx, IDC_OVERALL_BAR, overallBar_);
}

void ProgressDialog::OnDestroy() { engine_.ClearAccountList(); }

void ProgressDialog::ResetActivity() {
  activityBar_.SetRange(0, kCycleEnd);
  activityBar_.SetStep(1);
  activityBar_.SetPos(0);
  progressCounter_ = 0;
  activityPos_ = 0;
}

void ProgressDialog::FillActivity() {
  activityBar_.SetPos(kCycleEnd);
  progressCounter_ = kCycleEnd;
  if (activityPos_ >= 0) activityPos_ = kCycleEnd;
}

void ProgressDialog::ResetOverall() {
  overallBar_.SetRange(0, kOverallEnd);
  overallBar_.SetStep(1);
  overallBar_.SetPos(0);
}

void ProgressDialog::Advance(std::int16_t start, std::int16_t end) {
  for (int i = start; i <= end; ++i) {
    if (i % 10 == 0) {
      char title[32];
      std::snprintf(title, sizeof title, "集計中 %d％", i / 10);
      SetWindowTextA(title);
    }
    overallBar_.SetPos(i);
    SweepActivity();
    UpdateWindow();
  }
}

void ProgressDialog::SweepActivity() {
  activityBar_.SetRange(0, kCycleEnd);
  activityBar_.SetStep(1);
  activityBar_.SetPos(0);
  for (int i = 0; i <= kCycleEnd; ++i) {
    activityBar_.StepIt();
    BringWindowToTop();
    SetForegroundWindow();
    UpdateWindow();
  }
  activityPos_ = 0;  // the eleventh step wrapped the bar to its beginning
}

void ProgressDialog::StepActivity(std::int64_t steps) {
  if (steps <= 0) return;
  if (steps == 1 || activityPos_ < 0) {
    for (std::int64_t i = 0; i < steps; ++i) StepOnce();
    if (activityPos_ >= 0) activityPos_ = activityBar_.GetPos();
    return;
  }
  // The bar holds eleven positions and wraps past its end; the counter comes back to 0 (and
  // restarts the bar at 0 before its step, which leaves it at 1) every eleventh step. After the
  // first return to 0 the bar stands one ahead of the counter, so the end of any number of
  // steps is known without taking them.
  constexpr std::int64_t kCycle = kCycleEnd + 1;
  const std::int64_t toRestart = kCycle - progressCounter_;
  bool restarted = steps >= toRestart;
  if (restarted) {
    progressCounter_ = static_cast<std::int32_t>((steps - toRestart) % kCycle);
    activityPos_ = (progressCounter_ + 1) % kCycle;
  } else {
    progressCounter_ += static_cast<std::int32_t>(steps);
    activityPos_ = static_cast<int>((activityPos_ + steps) % kCycle);
  }
  activityBar_.SetPos(activityPos_);
  if (restarted) {
    BringWindowToTop();
    SetForegroundWindow();
  }
  UpdateWindow();
}

void ProgressDialog::StepOnce() {
  progressCounter_ = progressCounter_ == kCycleEnd ? 0 : progressCounter_ + 1;
  if (progressCounter_ == 0) activityBar_.SetPos(0);
  activityBar_.StepIt();
  if (progressCounter_ == 0) {
    BringWindowToTop();
    SetForegroundWindow();
  }
  UpdateWindow();
}

void ProgressDialog::Finish() { EndDialog(1); }
