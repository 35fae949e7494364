// The few pieces of the application framework (MFC) the program builds on: the application
// object with its start-up and end hooks, and window objects for foreign window handles.
#pragma once

#include <string>

#include "winport/win32_types.h"

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The framework's window object for a handle, created on first request and kept for the
  // life of the process (MFC's temporary map, without idle-time clean-up); nullptr for none.
  static CWnd* FromHandle(HWND hwnd);
  HWND GetSafeHwnd() const { return m_hWnd; }

  HWND m_hWnd = nullptr;
};

class CWinApp {
 public:
  CWinApp() = default;
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Start-up hook: true lets the framework run its message loop.
  virtual BOOL InitInstance() { return TRUE; }
  // End hook; the framework's own version returns the exit code of the message loop, 0.
  virtual int ExitInstance() { return 0; }

  // The argument text after the program name, in code page 932.
  std::string m_lpCmdLine;
  CWnd* m_pMainWnd = nullptr;
};

namespace winport {

// The argument text Windows hands a program: the arguments after the program name joined by
// single blanks, converted from the Linux (UTF-8) side to code page 932. A character without
// a code page 932 form becomes '?', which no Windows file name can hold, with a warning on
// stderr; it can never turn into a different valid path.
std::string CommandLineTail(int argc, char** argv);

// The framework's program run: InitInstance, then (no main window, so the message loop ends
// at once) ExitInstance, whose result is the exit code.
int AfxWinMain(CWinApp& app, int argc, char** argv);

}  // namespace winport
