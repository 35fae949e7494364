// The state of this process's own windows: a dialog made from a template and its controls.
// The platform functions (user_windows.h) and the framework classes change it; the front ends
// (terminal, script, test recorder) read it to show the dialog and to decide what an input
// means. Every handle here belongs to this process and never collides with the handle of a
// registered window of another process (window.h).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "winport/dialog_template.h"
#include "winport/win32_types.h"

// Button check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

namespace winport {

// One child window of a dialog.
struct Control {
  HWND handle = nullptr;
  int id = -1;
  ControlClass cls = ControlClass::Static;
  DWORD style = 0;
  std::string text;  // code page 932; for a static or button its mnemonic is the letter after '&'
  DialogRect rect;
  std::string toolTip;  // code page 932, empty for none (tool_tips.h)
  // Buttons.
  int check = BST_UNCHECKED;
  // Edits: the text limit in bytes (a double-byte character is never cut) and the selection
  // (selStart <= selEnd), with the caret at selEnd, or at selStart when caretAtStart (a
  // selection made towards the start, as with Shift+Left). Byte offsets, never inside a
  // double-byte character.
  std::size_t limit = 30000;
  std::size_t selStart = 0;
  std::size_t selEnd = 0;
  bool caretAtStart = false;
  // What Ctrl+Z brings back: the text and selection before the last change (a run of typed
  // characters counts as one change, as on Windows), while canUndo.
  struct Undo {
    bool canUndo = false;
    std::string text;
    std::size_t selStart = 0;
    std::size_t selEnd = 0;
    std::size_t typingEnd = static_cast<std::size_t>(-1);  // where typing goes on the run
  } undo;
  // Progress bars.
  int low = 0;
  int high = 100;
  int pos = 0;
  int step = 10;

  bool Enabled() const { return (style & WS_DISABLED) == 0; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool TabStop() const { return (style & WS_TABSTOP) != 0; }
  bool StartsGroup() const { return (style & WS_GROUP) != 0; }
  bool IsPushButton() const;  // push or default push button
  bool IsRadioButton() const;
  bool IsGroupBox() const;
  bool IsEdit() const { return cls == ControlClass::Edit; }
  std::size_t Caret() const { return caretAtStart ? selStart : selEnd; }
  std::size_t Anchor() const { return caretAtStart ? selEnd : selStart; }
  // Selects from `anchor` to `caret`, in either order.
  void Select(std::size_t anchor, std::size_t caret);
  // The upper-case mnemonic letter of the text ("&N" gives 'N', "&&" is a literal '&'), or 0.
  char Mnemonic() const;
};

// A dialog window: its template data, state, and controls in template order.
class DialogWindow {
 public:
  DialogWindow(const DialogTemplate& dialogTemplate, bool modal);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND handle() const { return handle_; }
  const DialogTemplate& dialogTemplate() const { return template_; }
  bool modal() const { return modal_; }
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  std::string title;
  DWORD style = 0;       // WS_VISIBLE tells whether it is shown
  HWND focus = nullptr;  // the control with the keyboard focus, or none
  HWND owner = nullptr;
  bool ended = false;  // EndDialog was called
  int result = 0;      // EndDialog's result
  int timesBroughtToTop = 0;
  int timesMadeForeground = 0;
  // Kept by NotifyWindow: the notice epoch when this window's last change, and its last
  // request to come to the front, were passed on to the front end.
  unsigned changePassedAt = ~0u;
  unsigned frontPassedAt = ~0u;
  // The dialog's window procedure for the messages sent to the dialog itself (WM_COMMAND,
  // WM_CLOSE); set by the framework object that owns the window.
  std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)> procedure;

  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  Control* Find(int id) const;           // nullptr when there is none
  Control* FindHandle(HWND hwnd) const;  // nullptr when there is none
  Control* Focused() const { return FindHandle(focus); }
  // The push button Enter presses: the focused push button, else an enabled default push
  // button; nullptr when Enter issues the standard OK command.
  Control* DefaultButton() const;

 private:
  DialogTemplate template_;
  bool modal_;
  HWND handle_;
  std::vector<std::unique_ptr<Control>> controls_;
};

// The dialog a handle belongs to (the dialog itself or one of its controls), and the control
// when it is one; nullptr when the handle is not a window of this process.
DialogWindow* FindDialogOf(HWND hwnd);
Control* FindControl(HWND hwnd);

// The dialogs of this process, oldest first.
std::vector<DialogWindow*> LiveDialogs();

}  // namespace winport
