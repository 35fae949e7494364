// Link library (Pethra): the session between this program and the running accounting
// product, reached through the singleton Inst().
#pragma once

#include <string>

#include "accounting/ClSysEnvMgr.h"
#include "winport/win32_types.h"

class ClAccConnect {
 public:
  static ClAccConnect* Inst();

  // Caption of the library's own messages; the program sets it before any other call.
  std::string title;
  // Owner of the library's own messages; the caller's window when a handshake was given.
  HWND ownerWindow = nullptr;

  void SetAppType(ClSysEnvMgr::_AppType type);
  void SetUseDataType(int type);
  // Attaches to the open company data. 0 attached; other values: the program cannot run.
  int Initiate();
  // Whether the accounting product allows this link: 0 go on, 1 refused (the user must act),
  // other values failure.
  int ExpSysLink();
  // Shows a message modally on the program's behalf; returns the button chosen.
  int DispMsg(HWND owner, const char* text, const char* caption, UINT style);
  int LogOut();
  int Terminate();
  // Detaches from the company data; the session can be initiated again afterwards.
  int Release();

  ClSysEnvMgr::_AppType AppType() const { return appType_; }
  int UseDataType() const { return useDataType_; }
  bool Attached() const { return attached_; }

 private:
  ClSysEnvMgr::_AppType appType_ = ClSysEnvMgr::APPTYPE_STANDARD;
  int useDataType_ = 0;
  bool attached_ = false;
  bool loggedIn_ = false;
};
