// Numbered cursors of a set object: the program holds a number, the set object the state.
#pragma once

#include <map>
#include <memory>

#include "accounting/ClSetBase.h"

namespace ledvia {

// Cursors handed out by every set object and not yet released, so that tests can check that a
// caller gives back what it took, also when it leaves early.
inline int& OpenSetCursorCount() {
  static int count = 0;
  return count;
}

template <typename State>
class CursorTable {
 public:
  SETCURSOR Open() {
    SETCURSOR number = ++last_;
    cursors_[number] = std::make_unique<State>();
    ++OpenSetCursorCount();
    return number;
  }
  // nullptr for a number that is not open.
  State* Find(SETCURSOR number) {
    auto found = cursors_.find(number);
    return found == cursors_.end() ? nullptr : found->second.get();
  }
  bool Close(SETCURSOR number) {
    if (cursors_.erase(number) == 0) return false;
    --OpenSetCursorCount();
    return true;
  }

 private:
  SETCURSOR last_ = 0;
  std::map<SETCURSOR, std::unique_ptr<State>> cursors_;
};

}  // namespace ledvia
