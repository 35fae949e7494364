#include "winport/mfc.h"

#include <cstdio>
#include <map>
#include <memory>

#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/ui_backend.h"
#include "winport/user_windows.h"
#include "winport/window.h"

namespace {

// Objects bound to handles (MFC's permanent map).
std::map<HWND, CWnd*>& Attached() {
  static std::map<HWND, CWnd*> objects;
  return objects;
}

// Objects made for handles nothing is attached to (MFC's temporary map).
std::map<HWND, std::unique_ptr<CWnd>>& Temporary() {
  static std::map<HWND, std::unique_ptr<CWnd>> objects;
  return objects;
}

int waitCursorDepth = 0;

}  // namespace

CWnd::~CWnd() { Detach(); }

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  auto attached = Attached().find(hwnd);
  if (attached != Attached().end()) return attached->second;
  std::unique_ptr<CWnd>& object = Temporary()[hwnd];
  if (!object) {
    object = std::make_unique<CWnd>();
    object->m_hWnd = hwnd;
  }
  return object.get();
}

void CWnd::DeleteTempObjects(const std::vector<HWND>& handles) {
  for (HWND hwnd : handles) Temporary().erase(hwnd);
}

BOOL CWnd::Attach(HWND hwnd) {
  if (hwnd == nullptr || m_hWnd != nullptr) return FALSE;
  m_hWnd = hwnd;
  Attached()[hwnd] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (hwnd != nullptr) {
    auto attached = Attached().find(hwnd);
    if (attached != Attached().end() && attached->second == this) Attached().erase(attached);
  }
  m_hWnd = nullptr;
  return hwnd;
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
void CWnd::SetWindowTextA(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }

void CWnd::GetWindowTextA(std::string& text) const {
  auto length = static_cast<std::size_t>(::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0));
  std::string buffer(length + 1, '\0');
  int copied = ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
  text.assign(buffer.data(), static_cast<std::size_t>(copied));
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(::GetDlgItem(m_hWnd, id), message, wParam, lParam);
}

int CWnd::MessageBoxA(LPCSTR text, LPCSTR caption, UINT type) const {
  return ::MessageBoxA(m_hWnd, text, caption != nullptr ? caption : "", type);
}

CWaitCursor::CWaitCursor() {
  if (waitCursorDepth++ == 0) winport::CurrentUiBackend().WaitCursor(true);
}

CWaitCursor::~CWaitCursor() {
  if (--waitCursorDepth == 0) winport::CurrentUiBackend().WaitCursor(false);
}

namespace winport {

std::string CommandLineTail(int argc, char** argv) {
  std::string utf8;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) utf8.push_back(' ');
    utf8 += argv[i];
  }
  if (std::optional<std::string> exact = Utf8ToCp932Exact(utf8)) return *exact;
  std::fprintf(stderr, "warning: the command line holds characters without a code page 932 form\n");
  return Utf8ToCp932(utf8);
}

int AfxWinMain(CWinApp& app, int argc, char** argv) {
  app.m_lpCmdLine = CommandLineTail(argc, argv);
  app.InitInstance();
  // With or without a successful start-up there is no main window, so the message loop, if
  // it runs at all, quits at once; either way the end hook gives the exit code.
  return app.ExitInstance();
}

}  // namespace winport
