// Journal rule: counts and walks the journal entries matching a find.
#pragma once

#include <memory>

#include "accounting/ClRuleBase.h"
#include "accounting/StFINDINFO.h"
#include "accounting/StSWKSIDESUMINFO.h"
#include "accounting/StSWKTINFO.h"

namespace ledvia {
class Statement;
}

class ClRuleShiwake : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClRuleShiwake)

 public:
  ClRuleShiwake();
  ~ClRuleShiwake() override;

  // Number of entries matching `find` (items 3, 16, 17, 999; nullptr: all). `displayInfo` is
  // reserved (nullptr). 0 on success.
  int GetSwkCount(const StFINDINFO* find, const void* displayInfo, int* count);
  // Prepares the walk over the entries matching `find`, in entry-number order. `order` and
  // `displayInfo` are reserved (nullptr); `cursorType` 4 is a read-only forward cursor.
  int MoveReady(const StFINDINFO* find, const void* order, const void* displayInfo, int cursorType);
  // The next entry: 0, 5000 after the last, or a failure code.
  int MoveNext(StSWKTINFO* entry);
  int MoveFinish();
  // Number of entries matching `find` whose business type is `businessType`.
  int CheckExistSwkByJigyoBunrui(const StFINDINFO* find, int businessType, int* count);

  // Prepares a walk over the journal's sides summed by month index, side, account, department
  // and tax category, in that order, instead of entry by entry. `find` tests the summed side:
  // item 3 its own tax category (side 1 or 2: only sides of that kind; 0 either kind), item 17
  // its entry's month index, 999 a nested chain. MoveFinish ends the walk as it ends MoveReady's.
  int MoveReadySideSum(const StFINDINFO* find);
  // The next sum: 0, 5000 after the last, or a failure code (5106 for a sum that leaves 64
  // bits).
  int MoveNextSideSum(StSWKSIDESUMINFO* sum);

 private:
  std::unique_ptr<ledvia::Statement> cursor_;
};
