// The walk over the fixed assets of a date range, shared by the corporate and the
// sole-proprietor stage; included by the engine's own .cpp files only.
#pragma once

#include <cstring>

#include "accounting/ClRuleGenkashokyaku.h"
#include "aggregate/aggregation_progress.h"
#include "aggregate/engine_finds.h"
#include "aggregate/engine_guards.h"

// Readies `rule` on `find` and reads every asset, one activity step each, handing each one
// read to `onAsset`; the walk is finished however it ends. 0 when every asset was read (or the
// walk met the end of data), else
// the code of the call that failed (readying, counting or reading an asset; the rest are then
// left out).
template <typename OnAsset>
int WalkAssets(ClRuleGenkashokyaku& rule, const AssetFind& find, AggregationProgress& progress,
               OnAsset onAsset) {
  WalkFinish<ClRuleGenkashokyaku> finish(rule);
  int count = 0;
  int code = rule.MoveReady(find.data(), 0, 0);
  if (code == 0) code = rule.GetCount(&count);
  StKOTEISHISANINFO asset;
  StKOTEINENINFO yearly;
  StKOTEITSUKIINFO monthly;
  for (int i = 0; i < count && code == 0; ++i) {
    progress.StepActivity(1);
    std::memset(&asset, 0, sizeof asset);
    std::memset(&yearly, 0, sizeof yearly);
    std::memset(&monthly, 0, sizeof monthly);
    code = rule.Move(i, &asset, &yearly, &monthly);
    if (code == 0) onAsset(asset);
  }
  return code == 5000 ? 0 : code;
}
