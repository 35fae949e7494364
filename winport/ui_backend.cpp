#include "winport/ui_backend.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <thread>

#include "winport/cp932.h"
#include "winport/script/script_ui.h"
#include "winport/start_folder.h"
#include "winport/terminal/terminal_ui.h"
#if WINPORT_DESKTOP
#include "winport/desktop/desktop_ui.h"
#include "winport/desktop/display_probe.h"
#endif

namespace winport {
namespace {

UiBackend* installed = nullptr;

// A relative recording counts from the caller's folder, as a relative script does.
std::string RecordPath() {
  const char* record = std::getenv("WINPORT_UI_RECORD");
  return FromStartFolder(record != nullptr ? record : "");
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The backend WINPORT_UI asks for, made once for the life of the process.
std::unique_ptr<UiBackend> MakeDefaultBackend() {
  UiEnvironment environment;
  const char* setting = std::getenv("WINPORT_UI");
  environment.setting = setting != nullptr ? setting : "";
  environment.stdinTerminal = isatty(0) != 0;
  environment.display = Set("DISPLAY") || Set("WAYLAND_DISPLAY");
  environment.platformNamed = Set("QT_QPA_PLATFORM");
  std::string platform;
#if WINPORT_DESKTOP
  environment.desktopBuilt = true;
  // Qt ends the process on a display it cannot open: one that may be chosen is tried first.
  const bool mayChooseDesktop = environment.setting == "desktop" ||
                                (environment.setting.empty() && environment.stdinTerminal);
  if (environment.display && !environment.platformNamed && mayChooseDesktop) {
    environment.display = desktop::ProbeDisplay(&platform, &environment.displayProblem);
  }
#endif
  std::string warning;
  UiChoice choice = ChooseUi(environment, &warning);
  if (!warning.empty()) std::fprintf(stderr, "warning: %s\n", warning.c_str());
  switch (choice) {
    case UiChoice::Desktop:
#if WINPORT_DESKTOP
      // Qt is to open what was tried, not another platform of its own choosing.
      if (!platform.empty()) setenv("QT_QPA_PLATFORM", platform.c_str(), 0);
      return std::make_unique<DesktopUiBackend>(RecordPath());
#else
      break;
#endif
    case UiChoice::Terminal:
      return std::make_unique<TerminalUiBackend>(RecordPath());
    case UiChoice::Script:
      break;
  }
  const std::string& choiceText = environment.setting;
  if (choiceText.rfind("script:", 0) == 0) {
    std::string path = choiceText.substr(7);
    if (path != "-" && !path.empty()) {
      // Read from the caller's folder; named in reports as the caller wrote it.
      const std::string file = FromStartFolder(path);
      std::FILE* script = std::fopen(file.c_str(), "r");
      if (script == nullptr) {
        std::fprintf(stderr, "warning: WINPORT_UI: cannot read the script %s; it counts as empty\n",
                     file.c_str());
      }
      return std::make_unique<ScriptUiBackend>(script, stdout, stderr, path);
    }
  }
  return std::make_unique<ScriptUiBackend>(stdin, stdout, stderr, "standard input");
}

}  // namespace

UiChoice ChooseUi(const UiEnvironment& environment, std::string* warning) {
  const std::string& setting = environment.setting;
  if (setting.rfind("script:", 0) == 0) return UiChoice::Script;
  const bool asked = setting == "desktop";
  if (!setting.empty() && setting != "terminal" && !asked) {
    *warning = "WINPORT_UI=" + setting + " is not desktop, terminal or script:PATH";
    return UiChoice::Script;
  }
  // Unasked, the desktop only for a person at a terminal of a graphical session: a run whose
  // standard input is piped (the tests, a host feeding a script) keeps to the script, and a
  // platform without a display (QT_QPA_PLATFORM=offscreen) is only for runs that ask.
  if (asked || (setting.empty() && environment.stdinTerminal)) {
    if (environment.desktopBuilt && (environment.display || (asked && environment.platformNamed))) {
      return UiChoice::Desktop;
    }
    if (asked) {
      *warning = !environment.desktopBuilt ? "WINPORT_UI=desktop: built without the desktop"
                 : environment.displayProblem.empty()
                     ? "WINPORT_UI=desktop: no display (DISPLAY is not set)"
                     : "WINPORT_UI=desktop: " + environment.displayProblem;
    } else if (environment.desktopBuilt && !environment.displayProblem.empty()) {
      *warning = "no desktop: " + environment.displayProblem;
    }
  }
  // The terminal front end reads and draws on /dev/tty: a person at the keyboard is enough,
  // wherever standard output goes (`run-sample.sh | tee log`).
  if (setting == "terminal" || ((setting.empty() || asked) && environment.stdinTerminal)) {
    return UiChoice::Terminal;
  }
  return UiChoice::Script;
}

UiEvent UiEvent::Key(UINT vk, bool shift, bool ctrl, bool alt) {
  UiEvent event;
  event.kind = Kind::Key;
  event.vk = vk;
  event.shift = shift;
  event.ctrl = ctrl;
  event.alt = alt;
  return event;
}

UiEvent UiEvent::Char(std::string character) {
  UiEvent event;
  event.kind = Kind::Char;
  event.text = std::move(character);
  return event;
}

UiEvent UiEvent::Click(int controlId, int caret) {
  UiEvent event;
  event.kind = Kind::Click;
  event.controlId = controlId;
  event.caret = caret;
  return event;
}

UiEvent UiEvent::DoubleClick(int controlId, int caret) {
  UiEvent event = Click(controlId, caret);
  event.word = true;
  return event;
}

UiEvent UiEvent::Type(int controlId, std::string text) {
  UiEvent event;
  event.kind = Kind::Type;
  event.controlId = controlId;
  event.text = std::move(text);
  return event;
}

UiEvent UiEvent::Close() {
  UiEvent event;
  event.kind = Kind::Close;
  return event;
}

std::string SaveFileFieldText(const SaveFileRequest& request) {
  const std::string& name = request.fileName;
  // '/' and ':' are never the second byte of a double-byte character; '\\' may be.
  if (name.find_first_of("/:") != std::string::npos ||
      cp932::FindChar(name, '\\') != std::string::npos) {
    return name;
  }
  std::string text = request.initialDirectory;
  const bool separated = text.empty() || cp932::EndsWithBackslash(text) || text.back() == ':';
  if (!separated && !name.empty()) text += '\\';
  return text + name;
}

namespace {

// The clipboard of a front end that has no desktop's.
std::string& ProcessClipboard() {
  static std::string text;
  return text;
}

// The thread that moves the notice tick on, for the life of the process once started.
class NoticeTicker {
 public:
  std::atomic<unsigned>* Start() {
    if (thread_.joinable()) return &ticks_;
    try {
      thread_ = std::thread([this] {
        const timespec pause{0, static_cast<long>(UiBackend::kNoticeTickMs) * 1000000L};
        while (!stop_.load(std::memory_order_relaxed)) {
          nanosleep(&pause, nullptr);
          ticks_.fetch_add(1, std::memory_order_relaxed);
        }
      });
    } catch (const std::system_error&) {
      return nullptr;
    }
    return &ticks_;
  }
  ~NoticeTicker() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<unsigned> ticks_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

std::string UiBackend::ClipboardText() { return ProcessClipboard(); }

void UiBackend::SetClipboardText(const std::string& text) { ProcessClipboard() = text; }

void UiBackend::SetDrawsOnItsOwnClock(std::atomic<unsigned>* clock) {
  if (clock == nullptr) {
    static NoticeTicker ticker;
    clock = ticker.Start();
  }
  clock_ = clock;
  drawsOnItsOwnClock_ = clock != nullptr;
}

UiBackend& CurrentUiBackend() {
  if (installed != nullptr) return *installed;
  static std::unique_ptr<UiBackend> fallback = MakeDefaultBackend();
  return *fallback;
}

UiBackend* SetUiBackend(UiBackend* backend) {
  UiBackend* previous = installed;
  installed = backend;
  return previous;
}

}  // namespace winport
