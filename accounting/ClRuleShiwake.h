// Journal rule: counts and walks the journal entries matching a find.
#pragma once

#include <memory>

#include "accounting/ClRuleBase.h"
#include "accounting/StFINDINFO.h"
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

 private:
  std::unique_ptr<ledvia::Statement> cursor_;
};
