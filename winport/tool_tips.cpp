#include "winport/tool_tips.h"

#include "winport/dialog_window.h"
#include "winport/window_notices.h"

namespace winport {

BOOL AddToolTip(HWND dialog, int id, const std::string& text) {
  DialogWindow* window = FindDialogOf(dialog);
  if (window == nullptr || window->handle() != dialog) return FALSE;
  Control* control = window->Find(id);
  if (control == nullptr) return FALSE;
  control->toolTip = text;
  NotifyWindow(*window, WindowNotice::Changed);
  return TRUE;
}

}  // namespace winport
