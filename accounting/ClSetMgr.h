// Set manager of the common library (Sulvan): the object rule and save objects attach to.
#pragma once

#include "accounting/ClSetBase.h"

class ClSetMgr {
 public:
  // The set object of `setId` (1 accounts ClSetKamoku, 2 departments ClSetBumon, 4 tax
  // settings ClSetShohizei, 5 company data ClSetData), owned by the library; `mode` is 1.
  // nullptr for any other id.
  ClSetBase* GetSetObject(int setId, int mode);
};
