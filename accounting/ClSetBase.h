// Common base of the common library's set objects (accounts, departments, tax settings,
// company data). The library owns every set object; callers never delete one.
#pragma once

// Cursors handed out by set objects are numbers, valid until released.
using SETCURSOR = long;

class ClSetBase {
 public:
  virtual ~ClSetBase() = default;
  // The set id (1 accounts, 2 departments, 4 tax settings, 5 company data).
  virtual int SetId() const = 0;
};
