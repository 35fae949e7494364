// Set object 1: the accounts of the selected company data.
#pragma once

#include "accounting/ClSetBase.h"
#include "accounting/StFINDINFO.h"
#include "accounting/StKAMOKUINFO.h"

class ClSetKamoku : public ClSetBase {
 public:
  int SetId() const override { return 1; }

  int GetCursor(SETCURSOR* cursor);
  int ReadyCursor(SETCURSOR cursor);
  // The next account (in code order) matching `find` (items 16 and 999; nullptr: every
  // account): 0, 5000 after the last, or a failure code (a find it cannot read included). The
  // find of the first call after ReadyCursor holds for the whole walk.
  int WalkFind(const StFINDINFO* find, StKAMOKUINFO* info, SETCURSOR cursor);
  int ReleaseCursor(SETCURSOR cursor);
};
