#include "winport/script/recording_ui.h"

#include "winport/dialog_window.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"

namespace winport {

int RecordingUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  boxes.push_back(request);
  if (answers.empty()) return CautiousAnswer(request.style);
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

UiEvent RecordingUiBackend::NextDialogEvent(const DialogWindow& dialog) {
  if (onWait) onWait(dialog);
  if (events.empty()) return UiEvent::Key(VK_ESCAPE);
  UiEvent event = events.front();
  events.pop_front();
  return event;
}

std::optional<std::string> RecordingUiBackend::AskSaveFileName(const SaveFileRequest& request) {
  saveRequests.push_back(request);
  if (saveAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = saveAnswers.front();
  saveAnswers.pop_front();
  return answer;
}

void RecordingUiBackend::Rejected(const UiEvent& event, const std::string& why) {
  (void)event;
  rejected.push_back(why);
}

void RecordingUiBackend::Notify(const DialogWindow& dialog, WindowNotice notice) {
  if (notice != WindowNotice::Changed) notices.emplace_back(dialog.title, notice);
}

}  // namespace winport
