// Link manager of the common library (Sulvan), reached through the singleton Inst().
#pragma once

#include "accounting/ClOptLink.h"

class ClLinkMgr {
 public:
  static ClLinkMgr* Inst();
  // The link-option object, owned by the library.
  ClOptLink* GetOptLink();

 private:
  ClOptLink optLink_;
};
