#include "winport/terminal/terminal_ui.h"

#include <time.h>

#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/terminal/terminal_boxes.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

// The shortest time between two redraws a program's notices cause (about 30 a second).
constexpr long long kRedrawIntervalMs = 33;

// Milliseconds of the monotonic clock (<chrono> does not compile with the code page 932
// execution character set).
long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool AnyVisible(const DialogWindow* except) {
  for (DialogWindow* dialog : LiveDialogs()) {
    if (dialog != except && dialog->Visible()) return true;
  }
  return false;
}

}  // namespace

TerminalUiBackend::TerminalUiBackend(std::string recordPath) {
  SetDrawsOnItsOwnClock();
  if (!recordPath.empty()) recorder_ = std::make_unique<ScriptRecorder>(std::move(recordPath));
}

// Typing still to be recorded was written when its dialog went (Notify); at the end of the
// process the dialogs may be gone already.
TerminalUiBackend::~TerminalUiBackend() { screen_.Leave(); }

void TerminalUiBackend::Draw(const DialogWindow* leaving) {
  if (!screen_.Enter()) return;
  TextCanvas canvas(screen_.rows(), screen_.cols());
  std::optional<Caret> caret;
  for (DialogWindow* dialog : LiveDialogs()) {
    if (dialog == leaving || !dialog->Visible()) continue;
    caret = painter_.Paint(*dialog, canvas, busy_);  // the newest dialog holds the cursor
  }
  if (overlay_) caret = overlay_(canvas);
  if (!status_.empty()) canvas.Put(canvas.rows() - 1, 0, WideFromUtf8(status_), kAttrReverse);
  screen_.Show(canvas, caret);
  dirty_ = false;
  lastDrawMs_ = NowMs();
  CountDraw();
}

void TerminalUiBackend::LeaveWhenNothingShown(const DialogWindow* leaving) {
  if (!screen_.active()) return;
  if (overlay_ || AnyVisible(leaving)) {
    Draw(leaving);
  } else {
    screen_.Leave();
  }
}

std::optional<UiEvent> TerminalUiBackend::NextInput() {
  for (;;) {
    if (dirty_ || !status_.empty()) Draw();
    bool closed = false;
    std::optional<TerminalKey> key = screen_.ReadKey(&closed);
    if (closed) return std::nullopt;
    if (!key) {  // resized
      dirty_ = true;
      continue;
    }
    status_.clear();
    if (std::optional<UiEvent> event = TranslateKey(*key)) return event;
    screen_.Beep();
  }
}

UiEvent TerminalUiBackend::NextDialogEvent(const DialogWindow& dialog) {
  if (!screen_.Enter()) return UiEvent::Key(VK_ESCAPE);
  Draw();
  for (;;) {
    // A terminal that went away cancels, as running out of input does in a script.
    UiEvent event = NextInput().value_or(UiEvent::Key(VK_ESCAPE));
    // F1 shows the tool-tips the desktop shows when the pointer rests on their controls; the
    // dialog never sees the key, and nothing of it is recorded.
    const bool plain = !event.shift && !event.ctrl && !event.alt;
    if (event.kind == UiEvent::Kind::Key && event.vk == VK_F1 && plain) {
      ShowToolTips(dialog);
      continue;
    }
    if (recorder_) recorder_->Input(dialog, event);
    return event;
  }
}

void TerminalUiBackend::ShowToolTips(const DialogWindow& dialog) {
  std::string tips;
  for (const auto& control : dialog.controls()) {
    if (!control->Visible() || control->toolTip.empty()) continue;
    if (!tips.empty()) tips += "\n\n";
    tips += control->toolTip;
  }
  if (tips.empty()) {
    screen_.Beep();
    return;
  }
  (void)RunBox({dialog.handle(), tips, dialog.title, MB_OK | MB_ICONINFORMATION});
  Draw();
}

int TerminalUiBackend::RunBox(const MessageBoxRequest& request) {
  int answer = 0;
  MessageBoxView view(request);
  overlay_ = [&view](TextCanvas& canvas) { return view.Paint(canvas); };
  Draw();
  while (answer == 0) {
    std::optional<UiEvent> event = NextInput();
    if (!event) break;
    bool ignored = false;
    answer = view.Handle(*event, &ignored);
    if (ignored) screen_.Beep();
    dirty_ = true;
  }
  overlay_ = nullptr;
  return answer;
}

int TerminalUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  int answer = 0;
  if (screen_.Enter()) answer = RunBox(request);
  if (answer == 0) answer = CautiousAnswer(request.style);
  if (recorder_) recorder_->MessageBoxAnswer(answer);
  LeaveWhenNothingShown(nullptr);
  return answer;
}

std::optional<std::string> TerminalUiBackend::AskSaveFileName(const SaveFileRequest& request) {
  std::optional<std::string> result;
  if (screen_.Enter()) {
    SaveFileView view(request);
    overlay_ = [&view](TextCanvas& canvas) { return view.Paint(canvas); };
    Draw();
    for (;;) {
      std::optional<UiEvent> event = NextInput();
      if (!event) break;
      bool ignored = false;
      if (view.Handle(*event, &result, &ignored)) break;
      if (ignored) screen_.Beep();
      dirty_ = true;
    }
    overlay_ = nullptr;
  }
  if (recorder_) recorder_->SaveAnswer(result);
  LeaveWhenNothingShown(nullptr);
  return result;
}

void TerminalUiBackend::Rejected(const UiEvent& event, const std::string& why) {
  (void)event;
  if (!screen_.active()) return;
  status_ = Cp932ToUtf8(why);
  screen_.Beep();
  Draw();
}

void TerminalUiBackend::Notify(const DialogWindow& dialog, WindowNotice notice) {
  switch (notice) {
    case WindowNotice::Shown:
      Draw();
      break;
    case WindowNotice::Changed:
    case WindowNotice::Repaint:
    case WindowNotice::BroughtToTop:
    case WindowNotice::Foreground:
      if (!dialog.Visible()) break;  // nothing on the screen changes
      dirty_ = true;
      if (NowMs() - lastDrawMs_ >= kRedrawIntervalMs) Draw();
      break;
    case WindowNotice::Hidden:
    case WindowNotice::Destroyed:
      if (recorder_) recorder_->FlushTyping();
      LeaveWhenNothingShown(&dialog);
      break;
  }
}

void TerminalUiBackend::WaitCursor(bool on) {
  busy_ = on;
  if (screen_.active()) Draw();
}

}  // namespace winport
