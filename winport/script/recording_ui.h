// Test backend: answers message boxes, dialog input and save-file dialogs from queues and
// records what it was shown. Once a queue runs dry it answers as a finished script does:
// the cautious button, Esc, Cancel.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "winport/ui_backend.h"

namespace winport {

class RecordingUiBackend : public UiBackend {
 public:
  int ShowMessageBox(const MessageBoxRequest& request) override;
  UiEvent NextDialogEvent(const DialogWindow& dialog) override;
  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
  void Rejected(const UiEvent& event, const std::string& why) override;
  void Notify(const DialogWindow& dialog, WindowNotice notice) override;
  void WaitCursor(bool on) override { waitCursor.push_back(on); }

  std::vector<MessageBoxRequest> boxes;
  std::deque<int> answers;
  std::deque<UiEvent> events;
  std::vector<SaveFileRequest> saveRequests;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<std::string> rejected;
  // Every notice but Changed, with the dialog's title at the time.
  std::vector<std::pair<std::string, WindowNotice>> notices;
  std::vector<bool> waitCursor;
  // Called each time a dialog waits for input, before the next event is taken.
  std::function<void(const DialogWindow&)> onWait;
};

}  // namespace winport
