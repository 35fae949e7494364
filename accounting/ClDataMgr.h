// Data manager of the common library (Sulvan), reached through the singleton Inst(): hands
// out the set manager, the set objects and the system user, all owned by the library.
#pragma once

#include "accounting/ClSetBase.h"
#include "accounting/ClSetMgr.h"
#include "accounting/ClSysUser.h"

class ClDataMgr {
 public:
  static ClDataMgr* Inst();

  ClSetMgr* GetSetMgr();
  // The set object of `setId` (see ClSetMgr::GetSetObject); nullptr for an unknown id.
  ClSetBase* GetSetObject(int setId, int mode);
  ClSysUser* GetSysUserObject();

 private:
  ClSetMgr setMgr_;
  ClSysUser sysUser_;
};
