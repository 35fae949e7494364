// The common library's singletons: data manager, set manager, link manager, system user and
// the tool-tip manager.
#include <cstring>
#include <string>

#include "accounting/ClDataMgr.h"
#include "accounting/ClLinkMgr.h"
#include "accounting/ClSetBumon.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetKamoku.h"
#include "accounting/ClSetShohizei.h"
#include "accounting/ClSysUser.h"
#include "accounting/ClToolTipMgr.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/session.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"
#include "winport/tool_tips.h"

namespace {

// The set objects live as long as the process, as the library's own objects do.
ClSetKamoku g_accounts;
ClSetBumon g_departments;
ClSetShohizei g_taxSettings;
ClSetData g_dataList;

}  // namespace

ClDataMgr* ClDataMgr::Inst() {
  static ClDataMgr instance;
  return &instance;
}

ClSetMgr* ClDataMgr::GetSetMgr() { return &setMgr_; }

ClSetBase* ClDataMgr::GetSetObject(int setId, int mode) {
  return setMgr_.GetSetObject(setId, mode);
}

ClSysUser* ClDataMgr::GetSysUserObject() {
  if (ledvia::FaultFor("ClDataMgr::GetSysUserObject") != 0) return nullptr;
  return &sysUser_;
}

ClSetBase* ClSetMgr::GetSetObject(int setId, int /*mode*/) {
  std::string fault = "ClDataMgr::GetSetObject:" + std::to_string(setId);
  if (ledvia::FaultFor(fault.c_str()) != 0) return nullptr;
  switch (setId) {
    case 1:
      return &g_accounts;
    case 2:
      return &g_departments;
    case 4:
      return &g_taxSettings;
    case 5:
      return &g_dataList;
    default:
      return nullptr;
  }
}

ClLinkMgr* ClLinkMgr::Inst() {
  static ClLinkMgr instance;
  return &instance;
}

ClOptLink* ClLinkMgr::GetOptLink() { return &optLink_; }

int ClSysUser::GetCurUserID(char* userId) {
  if (int fault = ledvia::FaultFor("ClSysUser::GetCurUserID")) return fault;
  if (userId == nullptr) return ledvia::kBadArgument;
  std::string user = ledvia::CurrentUserId();
  if (user.size() > static_cast<std::size_t>(kUserIdMax)) user.resize(kUserIdMax);
  std::memcpy(userId, user.c_str(), user.size() + 1);
  return ledvia::kOk;
}

int ClSysUser::GetSelectedNo(const char* userId, int* first, int* second) {
  if (int fault = ledvia::FaultFor("ClSysUser::GetSelectedNo")) return fault;
  if (userId == nullptr || first == nullptr || second == nullptr) return ledvia::kBadArgument;
  ledvia::Statement stmt(ledvia::CompanyDatabase(),
                         "SELECT select_first, select_second FROM users WHERE user_id = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindText(1, std::string_view(userId, strnlen(userId, kUserIdMax)));
  int status = stmt.StepStatus();
  if (status == ledvia::kEndOfData) return ledvia::kNotFound;
  if (status != ledvia::kOk) return status;
  *first = static_cast<int>(stmt.Int(0));
  *second = static_cast<int>(stmt.Int(1));
  return ledvia::kOk;
}

int ClToolTipMgr::Init(HWND dialog, const StTOOLTIPINFO* entries, int count) {
  if (int fault = ledvia::FaultFor("ClToolTipMgr::Init")) return fault;
  if (count < 0 || (count > 0 && entries == nullptr)) return ledvia::kBadArgument;
  dialog_ = dialog;
  tips_.clear();
  for (int i = 0; i < count; ++i) {
    tips_.push_back(Tip{entries[i].controlId, entries[i].text != nullptr ? entries[i].text : "",
                        entries[i].flag});
    // The tip reaches the control on the screen; a dialog that is not a window of this
    // process (or lacks the control) keeps its table all the same.
    winport::AddToolTip(dialog, tips_.back().controlId, tips_.back().text);
  }
  return ledvia::kOk;
}
