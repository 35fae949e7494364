// The process's user-interface seam: message boxes, the input of modal dialogs, the save-file
// dialog and the notices that let a front end show this process's windows. Abstract so that
// runs can be shown on the Linux desktop or a terminal, scripted from a file or recorded by
// tests. WINPORT_UI chooses the backend (CurrentUiBackend below).
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "winport/win32_types.h"

namespace winport {

class DialogWindow;

struct MessageBoxRequest {
  HWND owner = nullptr;
  std::string text;     // code page 932
  std::string caption;  // code page 932
  UINT style = 0;       // MB_* buttons and icon
};

// The save-file dialog as the program configured it (texts code page 932).
struct SaveFileRequest {
  HWND owner = nullptr;
  std::string title;
  std::string initialDirectory;
  std::string fileName;  // initial name
  std::string defaultExtension;
  std::string filter;  // "Xml Files (*.xml)|*.xml||"
  DWORD flags = 0;     // OFN_*
};

// The text a one-field save-file dialog starts with: the initial folder joined to the file
// name, or the file name alone when it names a folder or drive of its own (as a name typed
// again after a refusal does, which is shown as it was typed).
std::string SaveFileFieldText(const SaveFileRequest& request);

// One input for a modal dialog, as a person gives it: a key with its modifiers (letters and
// digits as their virtual keys, 'A'..'Z', '0'..'9'), one typed character, a click on a
// control, text typed into a control (focus, select all, type each character), or the close
// command.
struct UiEvent {
  enum class Kind { Key, Char, Click, Type, Close };
  Kind kind = Kind::Key;
  UINT vk = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  std::string text;   // Char: one character (one or two bytes); Type: the text (code page 932)
  int controlId = 0;  // Click, Type
  int caret = -1;     // Click on an edit: the byte offset the caret goes to; -1 leaves it
  bool word = false;  // Click on an edit: a double-click, selecting the word at `caret`

  static UiEvent Key(UINT vk, bool shift = false, bool ctrl = false, bool alt = false);
  static UiEvent Char(std::string character);
  static UiEvent Click(int controlId, int caret = -1);
  static UiEvent DoubleClick(int controlId, int caret);
  static UiEvent Type(int controlId, std::string text);
  static UiEvent Close();
};

// What happened to a window of this process.
enum class WindowNotice {
  Shown,         // became visible (a modal dialog: about to wait for input)
  Hidden,        // hidden (EndDialog, ShowWindow(SW_HIDE))
  Changed,       // text, state or focus changed
  Repaint,       // UpdateWindow: show the current state now
  BroughtToTop,  // BringWindowToTop
  Foreground,    // SetForegroundWindow
  Destroyed,     // about to be destroyed
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;
  // Shows a modal message box and returns the button chosen (IDOK, IDYES, ...).
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  // The next input for `dialog`, which waits for the user. A backend that has no more input
  // returns Esc, so that no run ever hangs.
  virtual UiEvent NextDialogEvent(const DialogWindow& dialog) = 0;
  // The file name the user chose, or nullopt when the user cancelled.
  virtual std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) = 0;
  // An input the dialog could not use (say a click on a disabled control), with the reason.
  virtual void Rejected(const UiEvent& event, const std::string& why) {
    (void)event;
    (void)why;
  }
  // Something happened to a window; front ends that draw redraw as they see fit (at most
  // about 30 times a second, whatever the program calls).
  virtual void Notify(const DialogWindow& dialog, WindowNotice notice) {
    (void)dialog;
    (void)notice;
  }
  // The wait cursor was switched on (true) or off.
  virtual void WaitCursor(bool on) { (void)on; }
  // The text on the clipboard, in code page 932, and putting text there (an edit's cut, copy
  // and paste keys): the desktop's own clipboard; other front ends keep one for the process.
  virtual std::string ClipboardText();
  virtual void SetClipboardText(const std::string& text);

  // Whether this front end draws a changed window from the dialog model on its own clock,
  // so that NotifyWindow (window_notices.h) may hold back most of its Changed and Repaint
  // notices.
  bool DrawsOnItsOwnClock() const { return drawsOnItsOwnClock_; }
  // For a front end that draws on its own clock: a count that goes up every kNoticeTickMs
  // milliseconds and at each of its draws; a notice is due again once it has moved. The
  // cheapest clock there is (one load).
  unsigned NoticeEpoch() const { return clock_->load(std::memory_order_relaxed); }
  static constexpr unsigned kNoticeTickMs = 10;

 protected:
  // Starts the notice tick: the process's tick thread moves the count every kNoticeTickMs;
  // with `clock`, nothing moves it but this front end's draws and whoever owns it (a test that
  // decides itself when time has passed). When no thread can be had for the tick, every
  // notice goes on reaching Notify.
  void SetDrawsOnItsOwnClock(std::atomic<unsigned>* clock = nullptr);
  // Called at every draw: the next change of any window reaches Notify again.
  void CountDraw() {
    if (clock_ != nullptr) clock_->fetch_add(1, std::memory_order_relaxed);
  }

 private:
  bool drawsOnItsOwnClock_ = false;
  std::atomic<unsigned>* clock_ = nullptr;
};

// The backend the platform uses. Unless one is installed, it is made on first use from
// WINPORT_UI: "desktop" (desktop/desktop_ui.h), "terminal", "script:PATH" or "script:-"
// (standard input). When WINPORT_UI is unset: the desktop when standard input is a terminal
// and a display is set (DISPLAY or WAYLAND_DISPLAY) in a build with the desktop, else the
// terminal when standard input is a terminal (it draws on /dev/tty, wherever standard output
// goes), else "script:-". A desktop asked
// for where it cannot open windows gives way to that choice, with a warning.
UiBackend& CurrentUiBackend();
// What the choice of the default backend depends on.
struct UiEnvironment {
  std::string setting;  // WINPORT_UI, empty when unset
  bool stdinTerminal = false;
  bool display = false;        // DISPLAY or WAYLAND_DISPLAY set, and opened when it was tried
  bool platformNamed = false;  // QT_QPA_PLATFORM set (say "offscreen")
  bool desktopBuilt = false;   // this build has the desktop front end
  std::string displayProblem;  // why the display named could not be opened; empty otherwise
};
enum class UiChoice { Desktop, Terminal, Script };
// The default backend's kind by the rules above ("script:..." and any unknown setting give
// the script, the latter with a warning); `warning` is set when the setting cannot be
// followed.
UiChoice ChooseUi(const UiEnvironment& environment, std::string* warning);

// Installs a backend (not owned); nullptr restores the default. Returns the previous one.
UiBackend* SetUiBackend(UiBackend* backend);

// Installs a backend for the lifetime of the guard.
class ScopedUiBackend {
 public:
  explicit ScopedUiBackend(UiBackend& backend) : previous_(SetUiBackend(&backend)) {}
  ~ScopedUiBackend() { SetUiBackend(previous_); }
  ScopedUiBackend(const ScopedUiBackend&) = delete;
  ScopedUiBackend& operator=(const ScopedUiBackend&) = delete;

 private:
  UiBackend* previous_;
};

}  // namespace winport
