// Win32 functions on this process's own windows (dialogs and their controls), with the
// messages the program sends them. The window of another process (window.h) is reached only
// by PostMessageA, EnableWindow, SetForegroundWindow and IsWindow, which take both kinds.
#pragma once

#include <optional>

#include "winport/win32_types.h"

// Messages.
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT PBM_SETRANGE = 0x0401;
constexpr UINT PBM_SETPOS = 0x0402;
constexpr UINT PBM_STEPIT = 0x0405;
constexpr UINT PBM_SETSTEP = 0x0404;
constexpr UINT PBM_GETPOS = 0x0408;
constexpr UINT BN_CLICKED = 0;

// Virtual keys.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_PROCESSKEY = 0xE5;  // a character that came through the input method

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// A message as the message loop hands it to PreTranslateMessage.
struct MSG {
  HWND hwnd = nullptr;  // the window with the focus (the dialog when none has it)
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Sends a message to a window of this process and returns its result (0 for a window that
// is not one). Handled: WM_SETTEXT, WM_GETTEXT (wParam the buffer size, never cutting a
// double-byte character), WM_GETTEXTLENGTH, EM_LIMITTEXT (bytes; 0 means the largest limit),
// EM_SETSEL (start, end; -1 as end means the end of the text, a start of -1 removes the
// selection), EM_SCROLLCARET, BM_GETCHECK, BM_SETCHECK (an automatic radio button that gets
// checked takes the tab stop of its group, as Windows moves it), BM_CLICK, PBM_SETRANGE
// (LOWORD low, HIWORD high; returns the previous range the same way), PBM_SETSTEP,
// PBM_SETPOS, PBM_GETPOS, PBM_STEPIT (a position past the upper bound starts again at the
// lower bound; returns the previous position).
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HWND GetDlgItem(HWND dialog, int id);
// The id of a control; 0 for a window that is not a control of this process.
int GetDlgCtrlID(HWND control);
// The control with the keyboard focus, or nullptr.
HWND GetFocus();
// Gives a control of a shown or hidden dialog the focus; returns the control that had it.
// A disabled control refuses (nullptr).
HWND SetFocus(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL BringWindowToTop(HWND window);
BOOL UpdateWindow(HWND window);

// Modifier state of the input being handled: negative (high bit set) while the key is down.
// Only VK_SHIFT, VK_CONTROL and VK_MENU are tracked.
short GetKeyState(int virtualKey);

namespace winport {

// Sets the modifier state GetKeyState reports, for the input being handled.
void SetKeyboardModifiers(bool shift, bool ctrl, bool alt);

// EnableWindow, SetForegroundWindow and IsWindow (window.h) on a window of this process;
// nullopt (false) when `window` is not one of them.
std::optional<BOOL> EnableLocalWindow(HWND window, BOOL enable);
std::optional<BOOL> MakeLocalWindowForeground(HWND window);
bool IsLocalWindow(HWND window);

}  // namespace winport
