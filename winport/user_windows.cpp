#include "winport/user_windows.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "winport/cp932.h"
#include "winport/dialog_window.h"
#include "winport/ui_backend.h"
#include "winport/window_notices.h"

namespace {

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};
Modifiers modifiers;

void Changed(winport::DialogWindow& dialog, winport::WindowNotice notice) {
  winport::NotifyWindow(dialog, notice);
}

// A byte offset moved back onto the start of the character that holds it.
std::size_t CharStart(const std::string& text, std::size_t offset) {
  offset = std::min(offset, text.size());
  if (offset < text.size() && winport::cp932::IsTrailPosition(text, offset)) --offset;
  return offset;
}

LRESULT EditMessage(winport::Control& edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case EM_LIMITTEXT:
      edit.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<std::size_t>(wParam);
      return 0;
    case EM_SETSEL: {
      auto start = static_cast<std::intptr_t>(static_cast<int>(wParam));
      auto end = static_cast<std::intptr_t>(static_cast<int>(lParam));
      const auto size = static_cast<std::intptr_t>(edit.text.size());
      if (start < 0) {  // no selection: the caret stays where it is
        edit.Select(edit.Caret(), edit.Caret());
        return 0;
      }
      if (end < 0 || end > size) end = size;
      start = std::min(start, size);
      // The caret goes to `end`, also when it is before `start`.
      edit.Select(CharStart(edit.text, static_cast<std::size_t>(start)),
                  CharStart(edit.text, static_cast<std::size_t>(end)));
      return 0;
    }
    case EM_SCROLLCARET:
      return 1;
    default:
      return 0;
  }
}

// Windows moves the tab stop of a radio group to the button that gets checked.
void SetCheck(winport::Control& button, int state) {
  button.check = state;
  if (button.IsRadioButton()) {
    if (state == BST_CHECKED) {
      button.style |= WS_TABSTOP;
    } else {
      button.style &= ~WS_TABSTOP;
    }
  }
}

LRESULT ProgressMessage(winport::Control& bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE: {
      LRESULT previous = MAKELPARAM(static_cast<WORD>(bar.low), static_cast<WORD>(bar.high));
      bar.low = LOWORD(static_cast<std::uintptr_t>(lParam));
      bar.high = HIWORD(static_cast<std::uintptr_t>(lParam));
      bar.pos = std::clamp(bar.pos, bar.low, std::max(bar.low, bar.high));
      return previous;
    }
    case PBM_SETSTEP: {
      int previous = bar.step;
      bar.step = static_cast<int>(wParam);
      return previous;
    }
    case PBM_SETPOS: {
      int previous = bar.pos;
      bar.pos = std::clamp(static_cast<int>(wParam), bar.low, std::max(bar.low, bar.high));
      return previous;
    }
    case PBM_GETPOS:
      return bar.pos;
    case PBM_STEPIT: {
      int previous = bar.pos;
      bar.pos += bar.step;
      // Past the end the bar starts over from its beginning.
      if (bar.pos > bar.high || bar.pos < bar.low) bar.pos = bar.low;
      return previous;
    }
    default:
      return 0;
  }
}

}  // namespace

namespace winport {

void SetKeyboardModifiers(bool shift, bool ctrl, bool alt) { modifiers = {shift, ctrl, alt}; }

std::optional<BOOL> EnableLocalWindow(HWND window, BOOL enable) {
  DialogWindow* dialog = FindDialogOf(window);
  if (dialog == nullptr) return std::nullopt;
  Control* control = dialog->FindHandle(window);
  DWORD& style = control != nullptr ? control->style : dialog->style;
  BOOL wasDisabled = (style & WS_DISABLED) != 0;
  if (enable) {
    style &= ~WS_DISABLED;
  } else {
    style |= WS_DISABLED;
    // A control that loses its enabled state loses the focus too.
    if (control != nullptr && dialog->focus == window) dialog->focus = nullptr;
  }
  Changed(*dialog, WindowNotice::Changed);
  return wasDisabled;
}

std::optional<BOOL> MakeLocalWindowForeground(HWND window) {
  DialogWindow* dialog = FindDialogOf(window);
  if (dialog == nullptr) return std::nullopt;
  ++dialog->timesMadeForeground;
  Changed(*dialog, WindowNotice::Foreground);
  return TRUE;
}

bool IsLocalWindow(HWND window) { return FindDialogOf(window) != nullptr; }

}  // namespace winport

short GetKeyState(int virtualKey) {
  bool down = (virtualKey == static_cast<int>(VK_SHIFT) && modifiers.shift) ||
              (virtualKey == static_cast<int>(VK_CONTROL) && modifiers.ctrl) ||
              (virtualKey == static_cast<int>(VK_MENU) && modifiers.alt);
  return down ? static_cast<short>(0x8000 | 1) : 0;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return 0;
  winport::Control* control = dialog->FindHandle(window);
  if (control == nullptr) {
    switch (message) {
      case WM_SETTEXT:
        dialog->title = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        Changed(*dialog, winport::WindowNotice::Changed);
        return TRUE;
      case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(dialog->title.size());
      default:
        return dialog->procedure ? dialog->procedure(message, wParam, lParam) : 0;
    }
  }
  LRESULT result = 0;
  switch (message) {
    case WM_SETTEXT:
      control->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      control->Select(0, 0);
      control->undo = {};  // a new text leaves nothing to undo
      result = TRUE;
      break;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      std::size_t length = winport::cp932::CutLength(control->text, wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), control->text.data(), length);
      reinterpret_cast<char*>(lParam)[length] = '\0';
      return static_cast<LRESULT>(length);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(control->text.size());
    case BM_GETCHECK:
      return control->check;
    case BM_SETCHECK:
      if (control->cls == winport::ControlClass::Button)
        SetCheck(*control, static_cast<int>(wParam));
      break;
    case BM_CLICK:
      if (!control->Enabled() || control->cls != winport::ControlClass::Button) return 0;
      if (control->IsRadioButton()) {
        // An automatic radio button checks itself and clears the others of its group.
        const auto& controls = dialog->controls();
        auto self = std::find_if(controls.begin(), controls.end(),
                                 [&](const auto& c) { return c.get() == control; });
        auto first = self;
        while (first != controls.begin() && !(*first)->StartsGroup()) --first;
        auto last = self + 1;
        while (last != controls.end() && !(*last)->StartsGroup()) ++last;
        for (auto it = first; it != last; ++it) {
          if ((*it)->IsRadioButton()) SetCheck(**it, it == self ? BST_CHECKED : BST_UNCHECKED);
        }
      }
      Changed(*dialog, winport::WindowNotice::Changed);
      SendMessageA(dialog->handle(), WM_COMMAND,
                   static_cast<WPARAM>(static_cast<WORD>(control->id)) | (BN_CLICKED << 16),
                   reinterpret_cast<LPARAM>(control->handle));
      return 0;
    default:
      if (control->cls == winport::ControlClass::Edit) {
        result = EditMessage(*control, message, wParam, lParam);
      } else if (control->cls == winport::ControlClass::Progress) {
        result = ProgressMessage(*control, message, wParam, lParam);
      } else {
        return 0;
      }
  }
  Changed(*dialog, winport::WindowNotice::Changed);
  return result;
}

HWND GetDlgItem(HWND dialog, int id) {
  winport::DialogWindow* window = winport::FindDialogOf(dialog);
  if (window == nullptr || window->handle() != dialog) return nullptr;
  winport::Control* control = window->Find(id);
  return control == nullptr ? nullptr : control->handle;
}

int GetDlgCtrlID(HWND control) {
  winport::Control* found = winport::FindControl(control);
  return found == nullptr ? 0 : found->id;
}

HWND GetFocus() {
  for (winport::DialogWindow* dialog : winport::LiveDialogs()) {
    if (dialog->focus != nullptr && dialog->Visible()) return dialog->focus;
  }
  for (winport::DialogWindow* dialog : winport::LiveDialogs()) {
    if (dialog->focus != nullptr) return dialog->focus;
  }
  return nullptr;
}

HWND SetFocus(HWND window) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return nullptr;
  winport::Control* control = dialog->FindHandle(window);
  if (control != nullptr && !control->Enabled()) return nullptr;
  HWND previous = dialog->focus;
  dialog->focus = control != nullptr ? control->handle : nullptr;
  Changed(*dialog, winport::WindowNotice::Changed);
  return previous;
}

BOOL IsWindowEnabled(HWND window) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return FALSE;
  winport::Control* control = dialog->FindHandle(window);
  return control != nullptr ? control->Enabled() : (dialog->style & WS_DISABLED) == 0;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (winport::FindDialogOf(window) == nullptr) return FALSE;
  return static_cast<BOOL>(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (size <= 0 || buffer == nullptr) return 0;
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  winport::Control* control = dialog->FindHandle(window);
  const std::string& text = control != nullptr ? control->text : dialog->title;
  std::size_t length = winport::cp932::CutLength(text, static_cast<std::size_t>(size) - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

BOOL ShowWindow(HWND window, int command) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return FALSE;
  winport::Control* control = dialog->FindHandle(window);
  DWORD& style = control != nullptr ? control->style : dialog->style;
  BOOL wasVisible = (style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    style &= ~WS_VISIBLE;
  } else {
    style |= WS_VISIBLE;
  }
  if (control == nullptr) {
    Changed(*dialog,
            command == SW_HIDE ? winport::WindowNotice::Hidden : winport::WindowNotice::Shown);
  } else {
    Changed(*dialog, winport::WindowNotice::Changed);
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return FALSE;
  winport::Control* control = dialog->FindHandle(window);
  return dialog->Visible() && (control == nullptr || control->Visible());
}

BOOL BringWindowToTop(HWND window) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return FALSE;
  ++dialog->timesBroughtToTop;
  Changed(*dialog, winport::WindowNotice::BroughtToTop);
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  winport::DialogWindow* dialog = winport::FindDialogOf(window);
  if (dialog == nullptr) return FALSE;
  Changed(*dialog, winport::WindowNotice::Repaint);
  return TRUE;
}
