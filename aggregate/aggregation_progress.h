// What the aggregation engine shows while it works: the lower bar of the progress window
// ("集計中"), a short repeating sweep that tells the user work is going on inside a stage. The
// upper bar and the window title belong to the run, which moves them between stages.
//
// Abstract so that the engine does not depend on the window: ui/ProgressDialog is the real one
// (it implements this and owns the engine); tests use a recording fake.
#pragma once

#include <cstdint>

class AggregationProgress {
 public:
  AggregationProgress(const AggregationProgress&) = delete;
  AggregationProgress& operator=(const AggregationProgress&) = delete;
  virtual ~AggregationProgress() = default;

  // Start of a stage: the lower bar gets the range 0..10, step 1, position 0, and the activity
  // counter becomes 0.
  virtual void ResetActivity() = 0;

  // `steps` activity steps between records (none when `steps` is not above 0). One step: the
  // counter goes 0, 1, ... 10 and back to 0; when it comes back to 0 the bar restarts at
  // position 0 and the window is brought to the front; the bar then moves one step (so eleven
  // steps after a reset leave it at position 1). Many steps in one call leave the bar and the
  // counter where as many single steps would, bring the window to the front once when any of
  // them would, and cost what one step costs: a walk that knows how many records it covered
  // reports them together instead of one window message per record.
  virtual void StepActivity(std::int64_t steps) = 0;

  // One whole sweep: range 0..10, step 1, position 0, then eleven steps of the bar, each
  // bringing the window to the front (the eleventh wraps the bar to its beginning). The
  // activity counter is left as it was.
  virtual void SweepActivity() = 0;

  // The lower bar stands full: position 10, and the activity counter 10 (so the next activity
  // step restarts the bar and brings the window to the front).
  virtual void FillActivity() = 0;

 protected:
  AggregationProgress() = default;
};
