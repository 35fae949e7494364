// Tool-tips on the controls of this process's dialogs, as the tool-tip common control keeps
// them for a dialog (TTM_ADDTOOL with the control's window as the tool): the text belongs to
// the control, and a front end with a pointer shows it while the pointer rests there.
#pragma once

#include <string>

#include "winport/win32_types.h"

namespace winport {

// Attaches `text` (code page 932; "\n" breaks lines) to control `id` of `dialog`, replacing
// the control's earlier tip. FALSE when `dialog` is not a dialog of this process or has no
// such control.
BOOL AddToolTip(HWND dialog, int id, const std::string& text);

}  // namespace winport
