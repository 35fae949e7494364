// Modal message boxes. The box is shown by the process's UI backend (ui_backend.h: a terminal,
// a script, or a test recorder), so every run can be driven without a person when needed.
#pragma once

#include "winport/ui_backend.h"
#include "winport/win32_types.h"

// Styles: buttons in the low nibble, icon in the next.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONSTOP = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal box through the current UI backend; text and caption are code page 932.
// Returns the button chosen.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace winport {

// What a scripted run answers when it has no answer left: acknowledge an OK box, say No to a
// question, cancel anything else. A scripted run never waits for input that cannot come.
int CautiousAnswer(UINT style);

}  // namespace winport
