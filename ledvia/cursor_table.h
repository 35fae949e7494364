// Numbered cursors of a set object: the program holds a number, the set object the state.
#pragma once

#include <map>
#include <memory>

#include "accounting/ClSetBase.h"

namespace ledvia {

template <typename State>
class CursorTable {
 public:
  SETCURSOR Open() {
    SETCURSOR number = ++last_;
    cursors_[number] = std::make_unique<State>();
    return number;
  }
  // nullptr for a number that is not open.
  State* Find(SETCURSOR number) {
    auto found = cursors_.find(number);
    return found == cursors_.end() ? nullptr : found->second.get();
  }
  bool Close(SETCURSOR number) { return cursors_.erase(number) != 0; }

 private:
  SETCURSOR last_ = 0;
  std::map<SETCURSOR, std::unique_ptr<State>> cursors_;
};

}  // namespace ledvia
