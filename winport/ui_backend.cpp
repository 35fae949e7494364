#include "winport/ui_backend.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "winport/script_ui.h"
#include "winport/terminal_ui.h"
#if WINPORT_DESKTOP
#include "winport/desktop/desktop_ui.h"
#endif

namespace winport {
namespace {

UiBackend* installed = nullptr;

const char* RecordPath() {
  const char* record = std::getenv("WINPORT_UI_RECORD");
  return record != nullptr ? record : "";
}

// The desktop front end when this build has it and Qt can open windows here; else nullptr,
// with a warning when it was asked for.
std::unique_ptr<UiBackend> MakeDesktopBackend(bool asked) {
#if WINPORT_DESKTOP
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool display = (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
  // Only a run that asks for it gets a platform without a display (QT_QPA_PLATFORM=offscreen).
  if (display || (asked && DesktopAvailable())) {
    return std::make_unique<DesktopUiBackend>(RecordPath());
  }
  if (asked) std::fprintf(stderr, "warning: WINPORT_UI=desktop: no display (DISPLAY is not set)\n");
#else
  if (asked) std::fprintf(stderr, "warning: WINPORT_UI=desktop: built without the desktop\n");
#endif
  return nullptr;
}

// The backend WINPORT_UI asks for, made once for the life of the process.
std::unique_ptr<UiBackend> MakeDefaultBackend() {
  const char* setting = std::getenv("WINPORT_UI");
  std::string choice = setting != nullptr ? setting : "";
  if (choice.rfind("script:", 0) == 0) {
    std::string path = choice.substr(7);
    if (path == "-" || path.empty()) {
      return std::make_unique<ScriptUiBackend>(stdin, stdout, stderr, "standard input");
    }
    std::FILE* script = std::fopen(path.c_str(), "r");
    if (script == nullptr) {
      std::fprintf(stderr, "warning: WINPORT_UI: cannot read the script %s; it counts as empty\n",
                   path.c_str());
    }
    return std::make_unique<ScriptUiBackend>(script, stdout, stderr, path);
  }
  if (!choice.empty() && choice != "terminal" && choice != "desktop") {
    std::fprintf(stderr, "warning: WINPORT_UI=%s is not desktop, terminal or script:PATH\n",
                 choice.c_str());
  }
  // Unasked, the desktop only for a person at a terminal of a graphical session: a run whose
  // standard input is piped (the tests, a host feeding a script) keeps to the script.
  if (choice == "desktop" || (choice.empty() && isatty(0))) {
    if (std::unique_ptr<UiBackend> desktop = MakeDesktopBackend(choice == "desktop")) {
      return desktop;
    }
    choice.clear();  // as if nothing had been asked
  }
  if (choice == "terminal" || (choice.empty() && isatty(0) && isatty(1))) {
    return std::make_unique<TerminalUiBackend>(RecordPath());
  }
  return std::make_unique<ScriptUiBackend>(stdin, stdout, stderr, "standard input");
}

}  // namespace

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

UiEvent UiEvent::Click(int controlId) {
  UiEvent event;
  event.kind = Kind::Click;
  event.controlId = controlId;
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
