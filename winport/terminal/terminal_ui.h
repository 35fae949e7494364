// The terminal front end (WINPORT_UI=terminal): this process's dialogs drawn as forms on
// the controlling terminal, message boxes and the save-file dialog drawn over them, and the
// keys a person presses handed to the dialog as the virtual keys Windows would send.
// With WINPORT_UI_RECORD=PATH it also writes what the person did as a script (script_recorder.h).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "winport/script/script_recorder.h"
#include "winport/terminal/terminal_form.h"
#include "winport/terminal/terminal_screen.h"
#include "winport/ui_backend.h"

namespace winport {

class TerminalUiBackend : public UiBackend {
 public:
  // `recordPath`: where to record the session as a script; empty for none.
  explicit TerminalUiBackend(std::string recordPath = "");
  ~TerminalUiBackend() override;

  int ShowMessageBox(const MessageBoxRequest& request) override;
  // Space is delivered as the character " " (like every printable key), Alt+letter as the
  // letter's virtual key with alt. F1 shows the tool-tips of the dialog's controls in a box
  // and never reaches the dialog. Without a usable terminal: Esc.
  UiEvent NextDialogEvent(const DialogWindow& dialog) override;
  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
  // Beeps and shows the reason on the bottom line until the next key.
  void Rejected(const UiEvent& event, const std::string& why) override;
  // Redraws at most about 30 times a second; the state last notified is drawn at the latest
  // before the next wait for input. When no dialog is visible any more the terminal is
  // given back, so that what the program prints afterwards is seen.
  void Notify(const DialogWindow& dialog, WindowNotice notice) override;
  void WaitCursor(bool on) override;

 private:
  // Draws the visible dialogs (except `leaving`) and the overlay, if any.
  void Draw(const DialogWindow* leaving = nullptr);
  // Reads keys until one means something; nullopt when the terminal is gone.
  std::optional<UiEvent> NextInput();
  // A message box drawn over the form until it is answered; 0 when the terminal went away.
  int RunBox(const MessageBoxRequest& request);
  // The tool-tips of the dialog's visible controls in a box (F1), or a beep when it has none.
  void ShowToolTips(const DialogWindow& dialog);
  void LeaveWhenNothingShown(const DialogWindow* leaving);

  TerminalScreen screen_;
  FormPainter painter_;
  std::unique_ptr<ScriptRecorder> recorder_;
  // Draws the box that waits over the forms (message box, save-file dialog), if any.
  std::function<std::optional<Caret>(TextCanvas&)> overlay_;
  bool busy_ = false;
  bool dirty_ = false;
  std::string status_;        // shown on the bottom line until the next key
  long long lastDrawMs_ = 0;  // monotonic clock
};

}  // namespace winport
