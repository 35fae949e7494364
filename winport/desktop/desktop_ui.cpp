#include "winport/desktop/desktop_ui.h"

#include <time.h>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <map>
#include <utility>

#include "winport/desktop/dialog_view.h"
#include "winport/desktop/key_input.h"
#include "winport/desktop/standard_boxes.h"
#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/script/script_recorder.h"

namespace winport {
namespace {

using desktop::DialogView;

// The shortest time between two draws the program's notices cause (about 30 a second).
constexpr double kRedrawIntervalMs = 33;

double Ms(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double NowMs() { return Ms(CLOCK_MONOTONIC); }

// The coarse clock costs a few nanoseconds where the exact one costs twenty or more, and the
// program may report progress millions of times; what it gives up in precision is added to
// the interval, so that draws stay at least kRedrawIntervalMs apart.
double CoarseMs() { return Ms(CLOCK_MONOTONIC_COARSE); }
double CoarseInterval() {
  timespec resolution{};
  clock_getres(CLOCK_MONOTONIC_COARSE, &resolution);
  return kRedrawIntervalMs + static_cast<double>(resolution.tv_sec) * 1e3 +
         static_cast<double>(resolution.tv_nsec) / 1e6;
}

// Qt warns on every start where XDG_RUNTIME_DIR is unset (a console login, su, a container)
// and then makes a private folder of its own, which is all a person could do about it: that
// one warning is dropped, every other message goes where it went before.
QtMessageHandler g_previousHandler = nullptr;

void QuietRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
  if (type == QtWarningMsg && message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
    return;
  if (g_previousHandler != nullptr) {
    g_previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

// The process's Qt application: one made here lives as long as the process, since Qt cannot
// be started a second time after it has been torn down.
void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "winport";
  static char* argv[] = {name, nullptr};
  g_previousHandler = qInstallMessageHandler(QuietRuntimeFolderWarning);
  auto* app = new QApplication(argc, argv);
  app->setQuitOnLastWindowClosed(false);
  // Boxes and the file dialog speak Japanese too: the same face as the dialogs.
  QApplication::setFont(desktop::TemplateFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
}

}  // namespace

// Also the filter that takes every input meant for a dialog window before Qt's widgets see
// it: Qt's own Tab, Enter, Esc, default-button and mnemonic handling never runs there.
struct DesktopUiBackend::State : QObject {
  struct Pending {
    HWND dialog;
    UiEvent event;
  };

  std::map<HWND, std::unique_ptr<DialogView>> views;
  std::map<HWND, bool> raise;  // changed windows still to be drawn; true: also to the front
  const DialogWindow* marked = nullptr;  // the dialog last entered in `raise`
  bool markedToFront = false;
  std::deque<Pending> inputs;
  HWND waiting = nullptr;  // the dialog whose input is awaited
  QEventLoop* loop = nullptr;
  const Control* pressed = nullptr;  // the button the left mouse button went down on
  double lastDrawCoarseMs = 0;
  const double interval = CoarseInterval();
  DrawCount drawn;
  bool busy = false;
  bool forwarding = false;  // an input method's composition on its way to an edit
  std::unique_ptr<ScriptRecorder> recorder;
  DesktopUiBackend* owner = nullptr;

  // The application made and this filter in front of the others it has.
  void Ready() {
    EnsureApplication();
    qApp->installEventFilter(this);
  }

  DialogView& ViewFor(const DialogWindow& dialog) {
    std::unique_ptr<DialogView>& view = views[dialog.handle()];
    if (!view) {
      view = std::make_unique<DialogView>(dialog);
      // The framework centres a dialog when it first shows; this program's owners are
      // windows of other programs or none, so the screen is the reference.
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        view->move(screen->availableGeometry().center() - view->rect().center());
      }
    }
    return *view;
  }

  // The shown window of `handle`'s dialog (the dialog's or a control's handle), the owner of
  // a box; nullptr when it is not on the screen, and the box goes to the screen's middle.
  QWidget* OwnerWidget(HWND handle) {
    DialogWindow* dialog = FindDialogOf(handle);
    if (dialog == nullptr) return nullptr;
    auto found = views.find(dialog->handle());
    return found != views.end() && found->second->isVisible() ? found->second.get() : nullptr;
  }

  // Brings every changed window up to date and lets Qt paint it; no input is handled here.
  void Draw() {
    const double start = NowMs();
    const double startCpu = Ms(CLOCK_THREAD_CPUTIME_ID);
    for (auto& [handle, toFront] : raise) {
      auto found = views.find(handle);
      if (found == views.end()) continue;
      DialogView& view = *found->second;
      view.Sync();
      if (toFront && view.isVisible()) {
        view.raise();
        view.activateWindow();
      }
    }
    raise.clear();
    marked = nullptr;
    owner->CountDraw();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastDrawCoarseMs = CoarseMs();
    ++drawn.draws;
    drawn.milliseconds += NowMs() - start;
    drawn.cpuMilliseconds += Ms(CLOCK_THREAD_CPUTIME_ID) - startCpu;
  }

  void Queue(HWND dialog, std::vector<UiEvent> events) {
    for (UiEvent& event : events) inputs.push_back({dialog, std::move(event)});
    if (!inputs.empty() && loop != nullptr) loop->quit();
  }

  // The byte offset in the model's text (code page 932) of the character boundary nearest the
  // click, when the click went to a one-line edit; -1 otherwise.
  static int CaretAt(QWidget* target, const QMouseEvent& event) {
    auto* line = qobject_cast<QLineEdit*>(target);
    if (line == nullptr) return -1;
    const int characters = line->cursorPositionAt(event.position().toPoint());
    return static_cast<int>(Utf8ToCp932(line->text().left(characters).toStdString()).size());
  }

  bool Mouse(DialogView& view, QWidget* target, QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || waiting != view.dialog().handle()) return true;
    const Control* control = view.ControlAt(target);
    // Windows sends nothing for a click on a disabled control.
    if (control == nullptr || control->IsGroupBox() || !control->Enabled()) return true;
    const bool edit = control->IsEdit();
    const bool button = control->cls == ControlClass::Button;
    if (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick) {
      // An edit takes the focus as the button goes down; a button acts when it comes up
      // over the same button.
      if (edit) {
        const int caret = CaretAt(target, event);
        Queue(view.dialog().handle(), {event.type() == QEvent::MouseButtonDblClick
                                           ? UiEvent::DoubleClick(control->id, caret)
                                           : UiEvent::Click(control->id, caret)});
      }
      pressed = button ? control : nullptr;
    } else if (event.type() == QEvent::MouseButtonRelease) {
      QWidget* widget = view.WidgetOf(*control);
      if (button && pressed == control && widget != nullptr &&
          widget->rect().contains(widget->mapFromGlobal(event.globalPosition().toPoint()))) {
        Queue(view.dialog().handle(), {UiEvent::Click(control->id)});
      }
      pressed = nullptr;
    }
    return true;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    DialogView* view = DialogView::Of(widget);
    if (view == nullptr) return false;  // boxes and the file dialog handle their own input
    const HWND handle = view->dialog().handle();
    const bool awaited = waiting == handle;
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        event->accept();  // no Qt shortcut: the texts' mnemonics are the model's business
        return true;
      case QEvent::KeyPress:
        if (awaited) Queue(handle, desktop::InputsOfKey(*static_cast<QKeyEvent*>(event)));
        return true;
      case QEvent::KeyRelease:
        return true;
      case QEvent::InputMethod: {
        if (forwarding) return false;
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (awaited) Queue(handle, desktop::InputsOfText(input->commitString()));
        // The composition still shows in the edit while it goes on; only committed text
        // reaches the dialog, as characters.
        QInputMethodEvent composing(input->preeditString(), input->attributes());
        forwarding = true;
        QCoreApplication::sendEvent(widget, &composing);
        forwarding = false;
        event->accept();
        return true;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        return Mouse(*view, widget, *static_cast<QMouseEvent*>(event));
      case QEvent::MouseMove:
        // Moving with a button down would select text or drag; hovering shows tool-tips.
        return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::DragEnter:
      case QEvent::Drop:
        return true;
      case QEvent::Close:
        // The window's close button is the close command, and only while the dialog waits.
        if (widget == view) {
          if (awaited) Queue(handle, {UiEvent::Close()});
          event->ignore();
          return true;
        }
        return false;
      default:
        return false;
    }
  }
};

DesktopUiBackend::DesktopUiBackend(std::string recordPath) : state_(std::make_unique<State>()) {
  state_->owner = this;
  SetDrawsOnItsOwnClock();
  if (!recordPath.empty())
    state_->recorder = std::make_unique<ScriptRecorder>(std::move(recordPath));
}

DesktopUiBackend::~DesktopUiBackend() {
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeEventFilter(state_.get());
    if (state_->busy) QApplication::restoreOverrideCursor();
  }
}

bool DesktopUiBackend::InputPending() const { return !state_->inputs.empty(); }

DesktopUiBackend::DrawCount DesktopUiBackend::Drawing() const { return state_->drawn; }

UiEvent DesktopUiBackend::NextDialogEvent(const DialogWindow& dialog) {
  State& s = *state_;
  s.Ready();
  DialogView& view = s.ViewFor(dialog);
  s.raise.emplace(dialog.handle(), false);
  if (!view.isVisible() && dialog.Visible()) {
    view.show();
    s.raise[dialog.handle()] = true;
  }
  // Input left over from a dialog that has gone is not for this one.
  std::erase_if(s.inputs,
                [&dialog](const State::Pending& p) { return p.dialog != dialog.handle(); });
  // The window is drawn before the person is waited for; input already given (a burst of
  // typing) is handed over at the pace of the usual draws.
  if (s.inputs.empty() || CoarseMs() - s.lastDrawCoarseMs >= s.interval) s.Draw();
  s.waiting = dialog.handle();
  if (s.inputs.empty() && onWait) onWait(dialog);
  while (s.inputs.empty()) {
    QEventLoop loop;
    s.loop = &loop;
    loop.exec();
    s.loop = nullptr;
  }
  s.waiting = nullptr;
  UiEvent event = std::move(s.inputs.front().event);
  s.inputs.pop_front();
  if (s.recorder) s.recorder->Input(dialog, event);
  return event;
}

int DesktopUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  State& s = *state_;
  s.Ready();
  s.Draw();
  std::unique_ptr<QMessageBox> box = desktop::MakeMessageBox(request, s.OwnerWidget(request.owner));
  // The pointer over a box is the arrow, even inside a wait.
  if (s.busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  if (onMessageBox) QTimer::singleShot(0, box.get(), [this, &request] { onMessageBox(request); });
  box->exec();
  if (s.busy) QApplication::restoreOverrideCursor();
  int answer = desktop::AnswerOf(*box);
  if (answer == 0) answer = CautiousAnswer(request.style);
  if (s.recorder) s.recorder->MessageBoxAnswer(answer);
  return answer;
}

std::optional<std::string> DesktopUiBackend::AskSaveFileName(const SaveFileRequest& request) {
  State& s = *state_;
  s.Ready();
  s.Draw();
  QWidget* owner = s.OwnerWidget(request.owner);
  std::unique_ptr<QFileDialog> dialog = desktop::MakeSaveDialog(request, owner);
  if (s.busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  std::optional<std::string> result;
  for (;;) {
    if (onSaveFile) QTimer::singleShot(0, dialog.get(), [this, &request] { onSaveFile(request); });
    if (dialog->exec() != QDialog::Accepted) break;
    result = desktop::ChosenWindowsPath(*dialog);
    if (result) break;
    MessageBoxRequest refusal{request.owner,
                              "選んだフォルダーはどのドライブにも割り当てられていません。\n"
                              "別のフォルダーを選んでください。",
                              request.title, MB_OK | MB_ICONEXCLAMATION};
    // The notice is in UTF-8 here; the box takes code page 932 like every other.
    refusal.text = Utf8ToCp932(refusal.text);
    std::unique_ptr<QMessageBox> box = desktop::MakeMessageBox(refusal, dialog.get());
    if (onMessageBox) QTimer::singleShot(0, box.get(), [this, &refusal] { onMessageBox(refusal); });
    box->exec();
  }
  if (s.busy) QApplication::restoreOverrideCursor();
  if (s.recorder) s.recorder->SaveAnswer(result);
  return result;
}

void DesktopUiBackend::Rejected(const UiEvent& event, const std::string& why) {
  (void)event;
  (void)why;
  if (QApplication::instance() != nullptr) QApplication::beep();
}

void DesktopUiBackend::Notify(const DialogWindow& dialog, WindowNotice notice) {
  State& s = *state_;
  switch (notice) {
    case WindowNotice::Shown:
      s.Ready();
      s.ViewFor(dialog).show();
      s.raise[dialog.handle()] = true;
      s.Draw();
      break;
    case WindowNotice::Hidden:
    case WindowNotice::Destroyed: {
      if (s.recorder) s.recorder->FlushTyping();
      auto found = s.views.find(dialog.handle());
      if (found == s.views.end()) break;
      found->second->hide();
      s.raise.erase(dialog.handle());
      s.marked = nullptr;
      if (notice == WindowNotice::Destroyed) {
        if (s.pressed != nullptr && dialog.FindHandle(s.pressed->handle) != nullptr) {
          s.pressed = nullptr;
        }
        s.views.erase(found);
      }
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      break;
    }
    case WindowNotice::Changed:
    case WindowNotice::Repaint:
    case WindowNotice::BroughtToTop:
    case WindowNotice::Foreground: {
      // The engine reports progress up to tens of millions of times a second; most of its
      // notices are held back before they come here (window_notices.h), and a run of those
      // that do for the dialog already marked costs a comparison and a look at the clock.
      const bool front = notice == WindowNotice::BroughtToTop || notice == WindowNotice::Foreground;
      if (&dialog != s.marked || (front && !s.markedToFront)) {
        if (s.views.find(dialog.handle()) == s.views.end()) break;  // never shown yet
        bool& toFront = s.raise[dialog.handle()];
        toFront = toFront || front;
        s.marked = &dialog;
        s.markedToFront = toFront;
      }
      if (dialog.Visible() && CoarseMs() - s.lastDrawCoarseMs >= s.interval) s.Draw();
      break;
    }
  }
}

void DesktopUiBackend::WaitCursor(bool on) {
  State& s = *state_;
  s.Ready();
  if (on == s.busy) return;
  s.busy = on;
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::string DesktopUiBackend::ClipboardText() {
  state_->Ready();
  return Utf8ToCp932(QGuiApplication::clipboard()->text().toStdString());
}

void DesktopUiBackend::SetClipboardText(const std::string& text) {
  state_->Ready();
  QGuiApplication::clipboard()->setText(QString::fromStdString(Cp932ToUtf8(text)));
}

}  // namespace winport
