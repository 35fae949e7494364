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
}

void ProgressDialog::StepActivity() {
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
