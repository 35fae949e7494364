// The desktop front end (WINPORT_UI=desktop): this process's dialogs as Qt 6 windows with a
// real widget for each control, message boxes and the save-file dialog as the desktop's own.
// The widgets only show the dialog model (dialog_window.h): every key, character and click a
// person gives one of these windows is taken from Qt before its widgets see it and handed to
// the dialog as a UiEvent, so the model's PreTranslateMessage and standard dialog handling
// decide everything (Tab, Enter, Esc, mnemonics, the default button), exactly as with the
// other front ends. With WINPORT_UI_RECORD=PATH the session is also written as a script.
//
// Qt stays behind this header: nothing here needs Qt's headers, so the rest of the program
// and its tests never see them. Built only when the build has Qt 6 (QL_DESKTOP).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "winport/ui_backend.h"

namespace winport {

class DesktopUiBackend : public UiBackend {
 public:
  // `recordPath`: where to record the session as a script; empty for none. The Qt
  // application is made on first use and kept for the life of the process (one that already
  // exists is used).
  explicit DesktopUiBackend(std::string recordPath = "");
  ~DesktopUiBackend() override;

  // A Windows-style box (caption, icon, the buttons of its style with Windows' texts, the
  // first one focused), modal to the window of `owner` when that is a dialog of this process,
  // to the whole program otherwise; kept in front when its owner is. Esc answers Cancel, or
  // OK when OK is the only button, and does nothing in a Yes/No box.
  int ShowMessageBox(const MessageBoxRequest& request) override;
  // Shows the dialog's window and waits for the next input a person gives it.
  UiEvent NextDialogEvent(const DialogWindow& dialog) override;
  // The desktop's save-file dialog over the Linux folders: the request's Windows folder
  // through the drive map, its filter, title and file name (a name holding wildcards only
  // filters); the chosen file comes back as a Windows path. A file outside every mapped
  // drive is refused with a notice and the dialog asked again.
  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
  // Beeps.
  void Rejected(const UiEvent& event, const std::string& why) override;
  // Windows appear, hide and go at once; changes are drawn at most about 30 times a second
  // (the state last notified is drawn at the latest before the next wait for input or box).
  void Notify(const DialogWindow& dialog, WindowNotice notice) override;
  // The wait cursor over every window of the program (the pointer while a box is up).
  void WaitCursor(bool on) override;
  // The desktop's clipboard; text no code page 932 character stands for is pasted as '?'.
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;

  // Test hooks, called inside Qt's event handling so that a test can act as a person:
  // `onWait` when a dialog waits and no input is pending (after it has been drawn);
  // `onMessageBox` and `onSaveFile` once the box or dialog is on the screen.
  std::function<void(const DialogWindow&)> onWait;
  std::function<void(const MessageBoxRequest&)> onMessageBox;
  std::function<void(const SaveFileRequest&)> onSaveFile;
  // Whether an input a person gave is waiting to be handed to a dialog.
  bool InputPending() const;
  // How often changes were drawn so far (each draw brings every changed window up to date),
  // the time that took and the processor time this process spent on it.
  struct DrawCount {
    long long draws = 0;
    double milliseconds = 0;
    double cpuMilliseconds = 0;
  };
  DrawCount Drawing() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace winport
