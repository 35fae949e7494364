// Set object 4: the consumption-tax settings of one company data.
#pragma once

#include "accounting/ClSetBase.h"
#include "accounting/ClSetMgr.h"
#include "accounting/StSHOHIZEIINFO.h"

class ClSetShohizei : public ClSetBase {
 public:
  int SetId() const override { return 4; }

  int AttachSetMgr(ClSetMgr* setMgr);
  // Chooses the data whose settings Get returns (StDATAINFO offset 0); before any call the
  // selected data is used. Unknown ids are refused with a failure code, which Get then
  // returns too until an id is accepted.
  int SetCurDataID(const char* dataId);
  // Fills the 12 bytes of `info`. 0 on success; on failure `info` is left untouched.
  int Get(StSHOHIZEIINFO* info);
  // Number of tax rates the settings know: 10 %, reduced 8 %, 8 %, 5 %, 3 %.
  int GetTaxRateCount();
};
