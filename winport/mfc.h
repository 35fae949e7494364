// The few pieces of the application framework (MFC) the program builds on: the application
// object with its start-up and end hooks, and window objects for foreign window handles.
#pragma once

#include <string>
#include <vector>

#include "winport/win32_types.h"

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The framework's window object for a handle: the object attached to it (a dialog, or a
  // control bound by data exchange) when there is one, else one created on first request
  // (MFC's temporary map) and kept until DeleteTempObjects drops it; nullptr for none.
  static CWnd* FromHandle(HWND hwnd);
  // Drops the objects FromHandle created for `handles`, windows that are gone: MFC frees its
  // temporary objects at idle time, and without that every dialog a process opened would leave
  // one object per control it looked at.
  static void DeleteTempObjects(const std::vector<HWND>& handles);
  HWND GetSafeHwnd() const { return m_hWnd; }
  // Binds this object to a window handle until Detach or destruction; FromHandle then gives it.
  BOOL Attach(HWND hwnd);
  HWND Detach();

  // The Win32 functions of the window (user_windows.h, window.h) on m_hWnd.
  CWnd* GetDlgItem(int id) const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  void SetWindowTextA(LPCSTR text);
  void SetWindowText(LPCSTR text) { SetWindowTextA(text); }
  void GetWindowTextA(std::string& text) const;
  BOOL ShowWindow(int command);
  void BringWindowToTop();
  BOOL SetForegroundWindow();
  void UpdateWindow();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // A message box owned by this window.
  int MessageBoxA(LPCSTR text, LPCSTR caption = nullptr, UINT type = 0) const;

  HWND m_hWnd = nullptr;
};

// The hourglass while an object lives (nested objects count).
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
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
