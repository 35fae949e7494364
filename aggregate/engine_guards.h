// Scope guards for the business core's walks and cursors, so that a stage leaving early (a
// failure code, or the AmountOverflow raised by a sum) never leaves a walk or a cursor open.
#pragma once

#include "accounting/ClSetBase.h"

// Ends a rule's walk (MoveFinish) when the scope ends.
template <typename Rule>
class WalkFinish {
 public:
  explicit WalkFinish(Rule& rule) : rule_(rule) {}
  WalkFinish(const WalkFinish&) = delete;
  WalkFinish& operator=(const WalkFinish&) = delete;
  ~WalkFinish() { rule_.MoveFinish(); }

 private:
  Rule& rule_;
};

// A cursor of a set object (accounts, departments), released when the scope ends if it was
// handed out.
template <typename Set>
class SetCursorHold {
 public:
  explicit SetCursorHold(Set& set) : set_(set) {}
  SetCursorHold(const SetCursorHold&) = delete;
  SetCursorHold& operator=(const SetCursorHold&) = delete;
  ~SetCursorHold() {
    if (open_) set_.ReleaseCursor(cursor_);
  }

  // GetCursor; its result.
  int Open() {
    int code = set_.GetCursor(&cursor_);
    open_ = code == 0;
    return code;
  }
  SETCURSOR cursor() const { return cursor_; }

 private:
  Set& set_;
  SETCURSOR cursor_ = 0;
  bool open_ = false;
};
