// Message library (Kaspin): records the outcome of library-facing routines and shows the
// accounting product's own message for fatal codes.
#pragma once

#include <string>

#include "winport/win32_types.h"

class ClMsgMgr {
 public:
  static ClMsgMgr* Inst();

  // Records a routine's outcome and returns `code`, which the routine then returns. Success
  // is recorded as (0, nullptr, 0).
  int SetLastError(int code, const char* source, int line);

  // Nonzero when `code` is fatal (anything but 0 and 5000, end of data); the library has then
  // already shown its own message, owned by `owner`. `level` and `show` are passed by the
  // program as -1 and 1.
  int CheckFatalErrorWithMsg(int code, int level, int show, HWND owner);

  // What SetLastError recorded last (the product keeps it for its error log).
  struct Recorded {
    int code = 0;
    std::string source;
    int line = 0;
  };
  const Recorded& LastRecorded() const { return last_; }

 private:
  Recorded last_;
};
