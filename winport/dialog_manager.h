// The standard keyboard handling Windows gives a dialog (IsDialogMessage) and the delivery of
// one front-end input to a dialog as the messages Windows would send for it.
#pragma once

#include <functional>

#include "winport/ui_backend.h"
#include "winport/user_windows.h"

namespace winport {

class DialogWindow;

// The dialog manager's handling of a message meant for `dialog` or one of its controls:
// - Tab / Shift+Tab: the next / previous enabled, visible tab stop in template order,
//   wrapping; an edit reached this way has its text selected whole.
// - Arrow keys on a radio button: the next / previous enabled radio button of its group
//   (a group runs from a control with WS_GROUP to the next one), which is focused and
//   clicked; Left and Right in an edit move the caret.
// - Enter: the focused push button, else the enabled default push button, else the
//   standard OK command (IDOK). Esc: the standard Cancel command (IDCANCEL).
// - Space on a button clicks it. Alt+letter, or a plain letter while the focus is not in an
//   edit: the control whose text has that mnemonic; a label or group box leads to the next
//   tab stop after it in template order, a push button is pressed, a radio button focused
//   and clicked. Alt+F4: the close command (IDCANCEL).
// - Characters in an edit: inserted over the selection unless the edit takes digits only
//   (ES_NUMBER) and the character is not one, or the text would pass the limit; Backspace
//   and Delete remove a selection or one character (a double-byte character whole); Left,
//   Right, Home and End move the caret, with Shift extending the selection from its other
//   end; Ctrl+Z undoes the last change (characters typed in a row are one), and undoes the
//   undo when pressed again.
// Returns TRUE when the message was handled.
BOOL IsDialogMessageA(HWND dialog, MSG* message);

// Delivers one input to `dialog` as Windows would: a key becomes WM_KEYDOWN (WM_SYSKEYDOWN
// with Alt) and, for a character key, WM_CHAR (WM_SYSCHAR with Alt); each message goes first
// to `preTranslate` (the dialog's PreTranslateMessage), then to the standard handling. A
// click focuses the control and clicks it; typing focuses an edit, selects its text and types
// each character; the close command sends WM_CLOSE. An input that cannot apply (an unknown,
// hidden or disabled control, typing into something that is not an edit) is reported to the
// backend's Rejected and changes nothing. GetKeyState reports the input's modifiers while it
// is handled.
void DeliverInput(DialogWindow& dialog, const UiEvent& event,
                  const std::function<BOOL(MSG*)>& preTranslate);

}  // namespace winport
