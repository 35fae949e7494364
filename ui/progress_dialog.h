// The progress window "集計中": the upper bar shows the run's overall progress in tenths of a
// percent (its percentage also in the title), the lower bar a short repeating sweep that shows
// work going on inside a stage. It has no buttons and cannot be closed by the user; there is
// no message loop while it is shown, so every operation repaints it explicitly.
#pragma once

#include <cstdint>

#include "winport/mfc_controls.h"
#include "winport/mfc_dialog.h"

class ProgressDialog : public CDialog {
 public:
  explicit ProgressDialog(CWnd* parent = nullptr);
  ~ProgressDialog() override;

  // Creates the window, hidden, from its template.
  BOOL Create();
  // Upper bar: range 0..1000, step 1, position 0.
  void ResetOverall();
  // For each value from `start` to `end` (tenths of a percent, start <= end): the title shows
  // the percentage at each multiple of 10, the upper bar moves to the value, the lower bar
  // sweeps once, and the window is repainted.
  void Advance(std::int16_t start, std::int16_t end);
  // Lower bar: range 0..10 from position 0, then eleven steps (the last passes the end, so
  // the bar starts again), each bringing the window to the front and repainting it.
  void SweepActivity();
  // One step of the lower bar's repeating cycle, called between records: every eleventh
  // step starts the bar again and brings the window to the front.
  void StepActivity();
  // Ends the dialog with result 1, which hides the window.
  void Finish();

  std::int32_t progressCounter() const { return progressCounter_; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;

 private:
  CProgressCtrl activityBar_;
  CProgressCtrl overallBar_;
  std::int32_t progressCounter_ = 0;  // position in the lower bar's cycle, 0..10
};
