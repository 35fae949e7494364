// Save object: the consumption-tax return figures the user saved in the accounting product's
// return screen.
#pragma once

#include "accounting/ClRuleBase.h"

class ClSaveTaxShiryo : public ClRuleBase {
  LEDVIA_RULE_ALLOCATION(ClSaveTaxShiryo)

 public:
  // Drops anything read before, so that the next read sees the stored figures. 0.
  int RefreshCache();
  // Writes the saved figures (StSaveTaxInfo) into the 24,576-byte `buffer`, leaving bytes
  // without a saved figure as they are. Data without saved figures leaves the buffer untouched
  // and succeeds (offset 9 stays 0). 0 on success.
  int GetTaxSaveInfo(void* buffer);
};
