// Set object 5: the list of company data and the period calendar of the selected data.
#pragma once

#include "accounting/ClAccPeriod.h"
#include "accounting/ClSetBase.h"
#include "accounting/StDATAINFO.h"

class ClSetData : public ClSetBase {
 public:
  int SetId() const override { return 5; }

  // The record of the data the current user has selected. 0 on success.
  int GetSelectedInfo(StDATAINFO* info);

  // Walk of the data list, in data-number order: GetDatCursor, ReadyDat(cursor, 0), then
  // WalkDat until it returns non-zero (5000 after the last record), ReleaseDatCursor.
  int GetDatCursor(SETCURSOR* cursor);
  int ReadyDat(SETCURSOR cursor, int mode);
  // Fills `info` with the next record: 0, or 5000 at the end, or a failure code.
  int WalkDat(StDATAINFO* info, SETCURSOR cursor);
  int ReleaseDatCursor(SETCURSOR cursor);

  // A new period calendar of the selected data in `*period`; the caller deletes it. On
  // failure `*period` is nullptr and the code says why.
  int GetAccPeriod(ClAccPeriod** period);
};
