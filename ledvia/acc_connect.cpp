#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "accounting/ClAccConnect.h"
#include "ledvia/company_database.h"
#include "winport/message_box.h"

ClAccConnect* ClAccConnect::Inst() {
  static ClAccConnect instance;
  return &instance;
}

void ClAccConnect::SetAppType(ClSysEnvMgr::_AppType type) { appType_ = type; }

void ClAccConnect::SetUseDataType(int type) { useDataType_ = type; }

int ClAccConnect::Initiate() {
  std::string path = ledvia::CompanyDatabasePath();
  std::string reason;
  int rc = ledvia::OpenCompanyDatabase(path, &reason);
  // The product shows its own message when the data cannot be opened; the stand-in says it on
  // stderr, so that a program that ends here does not end without a word.
  if (rc != 0)
    std::fprintf(stderr, "ledvia: cannot attach to %s: %s\n", path.c_str(), reason.c_str());
  attached_ = rc == 0;
  loggedIn_ = attached_;
  return rc;
}

int ClAccConnect::ExpSysLink() {
  // The product's own link check has nothing to check here; LEDVIA_EXPSYSLINK lets a person or
  // a test play its answer. A value that is not a number is a failure, never a silent pass.
  const char* configured = std::getenv("LEDVIA_EXPSYSLINK");
  if (configured == nullptr || *configured == '\0') return 0;
  char* end = nullptr;
  errno = 0;
  long code = std::strtol(configured, &end, 10);
  if (errno != 0 || *end != '\0' || code < -2147483647L - 1 || code > 2147483647L) return -1;
  return static_cast<int>(code);
}

int ClAccConnect::DispMsg(HWND owner, const char* text, const char* caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

int ClAccConnect::LogOut() {
  loggedIn_ = false;
  return 0;
}

int ClAccConnect::Terminate() { return 0; }

int ClAccConnect::Release() {
  ledvia::CloseCompanyDatabase();
  attached_ = false;
  ownerWindow = nullptr;
  return 0;
}
