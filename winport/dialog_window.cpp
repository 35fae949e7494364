#include "winport/dialog_window.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <unordered_map>

#include "winport/cp932.h"

namespace winport {
namespace {

// Handles of this process's windows lie above the 32-bit range, where no registered window of
// another process can be (their handles must survive a trip through a signed 32-bit number).
constexpr std::uintptr_t kFirstLocalHandle = std::uintptr_t{1} << 32;

struct Registry {
  std::uintptr_t next = kFirstLocalHandle;
  // Dialog and control handles to their dialog: every message a window is sent looks its
  // handle up here, so the lookup must not grow with the windows there are.
  std::unordered_map<HWND, DialogWindow*> dialogs;
  std::vector<DialogWindow*> order;  // live dialogs, oldest first
};

Registry& Windows() {
  static Registry registry;
  return registry;
}

HWND NewHandle() { return reinterpret_cast<HWND>(Windows().next++); }

}  // namespace

void Control::Select(std::size_t anchor, std::size_t caret) {
  caretAtStart = caret < anchor;
  selStart = std::min(anchor, caret);
  selEnd = std::max(anchor, caret);
}

bool Control::IsPushButton() const {
  DWORD kind = style & BS_TYPEMASK;
  return cls == ControlClass::Button && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

bool Control::IsRadioButton() const {
  return cls == ControlClass::Button && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

bool Control::IsGroupBox() const {
  return cls == ControlClass::Button && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

char Control::Mnemonic() const {
  if (cls == ControlClass::Edit || cls == ControlClass::Progress) return 0;
  if (cls == ControlClass::Static && (style & SS_TYPEMASK) == SS_BITMAP) return 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(byte) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (byte != '&' || i + 1 >= text.size()) continue;
    unsigned char next = static_cast<unsigned char>(text[i + 1]);
    if (next == '&') {
      ++i;
      continue;
    }
    if (next < 0x80) return static_cast<char>(std::toupper(next));
    return 0;
  }
  return 0;
}

DialogWindow::DialogWindow(const DialogTemplate& dialogTemplate, bool modal)
    : title(dialogTemplate.title),
      style(dialogTemplate.style & ~WS_VISIBLE),
      template_(dialogTemplate),
      modal_(modal),
      handle_(NewHandle()) {
  Registry& registry = Windows();
  registry.dialogs[handle_] = this;
  registry.order.push_back(this);
  for (const ControlTemplate& item : template_.controls) {
    auto control = std::make_unique<Control>();
    control->handle = NewHandle();
    control->id = item.id;
    control->cls = item.cls;
    control->style = item.style | WS_CHILD | WS_VISIBLE;
    control->text = item.text;
    control->rect = item.rect;
    registry.dialogs[control->handle] = this;
    controls_.push_back(std::move(control));
  }
}

DialogWindow::~DialogWindow() {
  Registry& registry = Windows();
  for (const auto& control : controls_) registry.dialogs.erase(control->handle);
  registry.dialogs.erase(handle_);
  registry.order.erase(std::remove(registry.order.begin(), registry.order.end(), this),
                       registry.order.end());
}

Control* DialogWindow::Find(int id) const {
  for (const auto& control : controls_) {
    if (control->id == id) return control.get();
  }
  return nullptr;
}

// The controls' handles follow the dialog's own in template order (the constructor takes them
// one after the other), so a handle names its control's place without a search.
Control* DialogWindow::FindHandle(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  auto place =
      reinterpret_cast<std::uintptr_t>(hwnd) - reinterpret_cast<std::uintptr_t>(handle_) - 1;
  if (place >= controls_.size() || controls_[place]->handle != hwnd) return nullptr;
  return controls_[place].get();
}

Control* DialogWindow::DefaultButton() const {
  Control* focused = Focused();
  if (focused != nullptr && focused->IsPushButton()) return focused;
  for (const auto& control : controls_) {
    if (control->IsPushButton() && (control->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
        control->Enabled()) {
      return control.get();
    }
  }
  return nullptr;
}

DialogWindow* FindDialogOf(HWND hwnd) {
  Registry& registry = Windows();
  auto found = registry.dialogs.find(hwnd);
  return found == registry.dialogs.end() ? nullptr : found->second;
}

Control* FindControl(HWND hwnd) {
  DialogWindow* dialog = FindDialogOf(hwnd);
  return dialog == nullptr ? nullptr : dialog->FindHandle(hwnd);
}

std::vector<DialogWindow*> LiveDialogs() { return Windows().order; }

}  // namespace winport
