// Run control: start-up, the session with the accounting product, and the end.
#include <new>

#include "accounting/ClAccConnect.h"
#include "aggregate/amount.h"
#include "app/ExportApp.h"
#include "app/environment_check.h"
#include "app/handshake.h"
#include "app/run_messages.h"
#include "resources/strings.h"
#include "winport/cp932.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/window.h"

BOOL ExportApp::InitInstance() {
  const char* stop = kUnexpectedFailureMessage;
  try {
    if (!StartUp()) return FALSE;
    return RunExport() ? TRUE : FALSE;
  } catch (const AmountOverflow&) {
    stop = kAmountOverflowMessage;
  } catch (const std::bad_alloc&) {
    stop = kOutOfMemoryMessage;
  } catch (...) {
  }
  // The dialogs, the file and the wait cursor were given back on the way out; what is left is
  // to say so once and let the end hook tell the caller.
  MessageBoxA(callerWindow, stop, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
  resultCode = kResultFailed;
  return FALSE;
}

bool ExportApp::StartUp() {
  ClAccConnect* session = ClAccConnect::Inst();
  session->title = kMessageCaption;
  session->SetAppType(edition_.appType);
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

  // Without its own folder the program would read whatever definition file the folder it was
  // started in holds; that counts as no definition file at all.
  const bool inProgramFolder = EnterProgramFolder();
  if (!CheckEnvironment(callerWindow, true, inProgramFolder)) {
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

bool ExportApp::EnterProgramFolder() {
  // The definition and support files are opened relative to the current directory.
  char modulePath[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  // MAX_PATH itself means the path was cut.
  if (length == 0 || length >= MAX_PATH) return false;
  std::string folder(modulePath, length);
  std::size_t lastSeparator = winport::cp932::FindLastChar(folder, '\\');
  if (lastSeparator == std::string::npos) return false;
  folder.resize(lastSeparator + 1);
  return SetCurrentDirectoryA(folder.c_str()) != FALSE;
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
