// The progress window "集計中": the upper bar shows the run's overall progress in tenths of a
// percent (its percentage also in the title), the lower bar a short repeating sweep that shows
// work going on inside a stage. It has no buttons and cannot be closed by the user; there is
// no message loop while it is shown, so every operation repaints it explicitly.
//
// The window also owns the aggregation engine, which reports its progress through it: the
// engine's rule objects are released with the dialog, and its account list is emptied when
// the window is destroyed.
#pragma once

#include <cstdint>

#include "aggregate/AddTax.h"
#include "aggregate/aggregation_progress.h"
#include "winport/mfc_controls.h"
#include "winport/mfc_dialog.h"

class ProgressDialog : public CDialog, public AggregationProgress {
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
  void SweepActivity() override;
  // `steps` steps of the lower bar's repeating cycle, called between records: every eleventh
  // step starts the bar again and brings the window to the front. However many steps, the bar
  // gets at most one position, the window one request for the front and one repaint.
  void StepActivity(std::int64_t steps) override;
  // Start of an engine stage: lower bar range 0..10, step 1, position 0; the cycle restarts.
  void ResetActivity() override;
  // The lower bar full (position 10), the cycle at its end.
  void FillActivity() override;
  // Ends the dialog with result 1, which hides the window.
  void Finish();

  AggregationEngine& engine() { return engine_; }

  std::int32_t progressCounter() const { return progressCounter_; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnDestroy() override;

 private:
  // One step as the bar itself takes it (SetPos, StepIt): a single step, or any step of a bar
  // whose range is not known.
  void StepOnce();

  CProgressCtrl activityBar_;
  CProgressCtrl overallBar_;
  std::int32_t progressCounter_ = 0;  // position in the lower bar's cycle, 0..10
  // The lower bar's position as this object last set it, so that many steps can be reckoned
  // here and the bar told only where they end; -1 until a stage reset or a sweep gave it a
  // range of 0..10 (before that the bar's own range decides, so steps go one at a time).
  int activityPos_ = -1;
  // After the bars, so that it goes first; it never reports progress while it is made or
  // destroyed.
  AggregationEngine engine_{*this};
};
