// Set object 2: the departments of the selected company data.
#pragma once

#include <cstdint>

#include "accounting/ClSetBase.h"
#include "accounting/StBUMONINFO.h"

class ClSetBumon : public ClSetBase {
 public:
  int SetId() const override { return 2; }

  // Number of departments in `*count`; `mode` is 0. 0 on success.
  int GetBmnCount(int* count, int mode);
  int GetCursor(SETCURSOR* cursor);
  int ReadyCursor(SETCURSOR cursor);
  // The next department in code order: 0, 5000 after the last, or a failure code.
  int Walk(StBUMONINFO* info, SETCURSOR cursor);
  // The department of `code` (the cursor must be ready): 0; when there is none
  // `info` is cleared and a failure code returned.
  int GetInfoByCode(SETCURSOR cursor, std::int32_t code, StBUMONINFO* info);
  int ReleaseCursor(SETCURSOR cursor);
};
