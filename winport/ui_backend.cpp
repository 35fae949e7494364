#include "winport/ui_backend.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "winport/script_ui.h"
#include "winport/terminal_ui.h"

namespace winport {
namespace {

UiBackend* installed = nullptr;

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
  if (!choice.empty() && choice != "terminal") {
    std::fprintf(stderr, "warning: WINPORT_UI=%s is not terminal or script:PATH\n", choice.c_str());
  }
  if (choice == "terminal" || (choice.empty() && isatty(0) && isatty(1))) {
    const char* record = std::getenv("WINPORT_UI_RECORD");
    return std::make_unique<TerminalUiBackend>(record != nullptr ? record : "");
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
