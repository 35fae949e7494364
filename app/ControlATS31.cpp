// Run control: start-up, the session with the accounting product, and the end.
#include "accounting/ClAccConnect.h"
#include "app/ExportApp.h"
#include "app/environment_check.h"
#include "app/handshake.h"
#include "editions/edition.h"
#include "resources/strings.h"
#include "winport/cp932.h"
#include "winport/files.h"
#include "winport/window.h"

BOOL ExportApp::InitInstance() {
  if (!StartUp()) return FALSE;
  // The export run (company data, conditions dialog, aggregation, linkage file) continues
  // here; until it is built, start-up ends after the link check without a result.
  return FALSE;
}

bool ExportApp::StartUp() {
  ClAccConnect* session = ClAccConnect::Inst();
  session->title = kMessageCaption;
  session->SetAppType(CurrentEdition().appType);
  session->SetUseDataType(3);
  if (session->Initiate() != 0) return false;

  Handshake handshake = ParseHandshake(m_lpCmdLine);
  callerWindow = HwndFromNumber(handshake.window);
  callerMessage = handshake.message;
  functionId = handshake.functionId;
  if (handshake.present) {
    fixedOutputPath = handshake.outputPath;
    launchedByCaller = 1;
    parentWindow = CWnd::FromHandle(callerWindow);
    EnableWindow(callerWindow, FALSE);  // stays disabled while the program runs
    session->ownerWindow = callerWindow;
  }

  // The program folder becomes the current directory: the definition and support files are
  // opened relative to it.
  char modulePath[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  std::string folder(modulePath, length < MAX_PATH ? length : MAX_PATH);
  std::size_t lastSeparator = winport::cp932::FindLastChar(folder, '\\');
  if (lastSeparator != std::string::npos) {
    folder.resize(lastSeparator + 1);
    SetCurrentDirectoryA(folder.c_str());
  }

  if (!CheckEnvironment(callerWindow, true)) {
    resultCode = kResultFailed;
    return false;
  }

  int link = session->ExpSysLink();
  if (link != 0) {
    resultCode = link == 1 ? kResultStopped : kResultFailed;
    return false;
  }
  return true;
}

int ExportApp::ExitInstance() {
  ClAccConnect* session = ClAccConnect::Inst();
  session->LogOut();
  session->Terminate();
  session->Release();
  if (launchedByCaller == 1) NotifyCaller();
  return CWinApp::ExitInstance();
}

void ExportApp::NotifyCaller() {
  SetForegroundWindow(callerWindow);
  EnableWindow(callerWindow, TRUE);
  // The function identifier travels sign-extended, as a 16-bit value widened by the caller's
  // message parameter.
  PostMessageA(callerWindow, callerMessage, static_cast<WPARAM>(static_cast<LPARAM>(functionId)),
               resultCode);
  EnableWindow(callerWindow, TRUE);
}
