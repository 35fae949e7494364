#include "ledvia/session.h"

#include <cstdlib>
#include <cstring>

#include "ledvia/company_database.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

std::string CurrentUserId() {
  const char* user = std::getenv("LEDVIA_USER");
  if (user != nullptr && *user != '\0') return user;
  return "user1";
}

int SelectedDataNo(int* dataNo) {
  if (CompanyDatabase() == nullptr) return kNoSession;
  // A user's selection stands for the session; it is asked for around every department lookup
  // of a journal walk, so the answer is kept per session and user.
  static unsigned cachedSession = 0;
  static std::string cachedUser;
  static int cachedDataNo = 0;
  std::string user = CurrentUserId();
  if (cachedSession == CompanyDatabaseGeneration() && cachedUser == user) {
    *dataNo = cachedDataNo;
    return kOk;
  }
  Statement stmt(CompanyDatabase(), "SELECT select_second FROM users WHERE user_id = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindText(1, user);
  int status = stmt.StepStatus();
  if (status == kEndOfData) return kNotFound;
  if (status != kOk) return status;
  *dataNo = static_cast<int>(stmt.Int(0));
  cachedSession = CompanyDatabaseGeneration();
  cachedUser = user;
  cachedDataNo = *dataNo;
  return kOk;
}

int DataNoForId(const char* dataId, int* dataNo) {
  if (dataId == nullptr) return kBadArgument;
  if (CompanyDatabase() == nullptr) return kNoSession;
  Statement stmt(CompanyDatabase(), "SELECT data_no FROM data WHERE data_id = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  // The id field of StDATAINFO is 16 bytes and need not be terminated.
  std::string id(dataId, strnlen(dataId, 16));
  stmt.BindText(1, id);
  int status = stmt.StepStatus();
  if (status == kEndOfData) return kNotFound;
  if (status != kOk) return status;
  *dataNo = static_cast<int>(stmt.Int(0));
  return kOk;
}

}  // namespace ledvia
