// Fixed-asset rule: the fixed-asset ledger entries matching a find (item 203, asset date).
#pragma once

#include <memory>

#include "accounting/ClRuleBase.h"
#include "accounting/StFINDINFO.h"
#include "accounting/StKOTEINENINFO.h"
#include "accounting/StKOTEISHISANINFO.h"
#include "accounting/StKOTEITSUKIINFO.h"

namespace ledvia {
struct AssetRows;
}

class ClRuleGenkashokyaku : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClRuleGenkashokyaku)

 public:
  ClRuleGenkashokyaku();
  ~ClRuleGenkashokyaku() override;

  // Prepares the assets matching `find` in date and number order; `sortType` and `sumType`
  // are 0.
  int MoveReady(const StFINDINFO* find, int sortType, int sumType);
  int GetCount(int* count);
  // Fills the three records of asset `index` (0 .. count-1), in any order. 5000 past the last
  // asset.
  int Move(int index, StKOTEISHISANINFO* asset, StKOTEINENINFO* yearly, StKOTEITSUKIINFO* monthly);
  int MoveFinish();

 private:
  std::unique_ptr<ledvia::AssetRows> cursor_;
};
