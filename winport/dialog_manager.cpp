#include "winport/dialog_manager.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "winport/cp932.h"
#include "winport/dialog_window.h"
#include "winport/edit_control.h"
#include "winport/window_notices.h"

namespace winport {
namespace {

using Controls = std::vector<std::unique_ptr<Control>>;

bool CanFocus(const Control& control) {
  return control.Enabled() && control.Visible() && control.cls != ControlClass::Static &&
         control.cls != ControlClass::Progress && !control.IsGroupBox();
}

std::size_t IndexOf(const Controls& controls, const Control* control) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].get() == control) return i;
  }
  return controls.size();
}

// The next (or previous) enabled, visible tab stop after `from` (nullptr: from the start),
// wrapping round; nullptr when there is none.
Control* NextTabStop(const DialogWindow& dialog, const Control* from, bool backwards) {
  const Controls& controls = dialog.controls();
  const std::size_t n = controls.size();
  if (n == 0) return nullptr;
  std::size_t start = IndexOf(controls, from);
  for (std::size_t step = 1; step <= n; ++step) {
    std::size_t i;
    if (start == n) {
      i = backwards ? n - step : step - 1;
    } else {
      i = backwards ? (start + n - step) % n : (start + step) % n;
    }
    Control& candidate = *controls[i];
    if (candidate.TabStop() && CanFocus(candidate)) return &candidate;
  }
  return nullptr;
}

void SelectAllIfEdit(const Control& control) {
  if (control.IsEdit()) SendMessageA(control.handle, EM_SETSEL, 0, -1);
}

// The next (or previous) enabled radio button of `from`'s group, wrapping within the group.
Control* NextInRadioGroup(const DialogWindow& dialog, const Control& from, bool backwards) {
  const Controls& controls = dialog.controls();
  std::size_t self = IndexOf(controls, &from);
  std::size_t first = self;
  while (first > 0 && !controls[first]->StartsGroup()) --first;
  std::size_t last = self + 1;
  while (last < controls.size() && !controls[last]->StartsGroup()) ++last;
  const std::size_t size = last - first;
  for (std::size_t step = 1; step < size; ++step) {
    std::size_t offset = (self - first + (backwards ? size - step : step)) % size;
    Control& candidate = *controls[first + offset];
    if (candidate.IsRadioButton() && CanFocus(candidate)) return &candidate;
  }
  return nullptr;
}

void Command(const DialogWindow& dialog, int id) {
  SendMessageA(dialog.handle(), WM_COMMAND, static_cast<WPARAM>(static_cast<WORD>(id)), 0);
}

void PressButton(const DialogWindow& dialog, Control& button) {
  if (button.IsRadioButton()) {
    SetFocus(button.handle);
    SendMessageA(button.handle, BM_CLICK, 0, 0);
  } else if (button.IsPushButton()) {
    Command(dialog, button.id);
  }
}

bool Mnemonic(const DialogWindow& dialog, char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (const auto& control : dialog.controls()) {
    if (!control->Visible() || control->Mnemonic() != letter) continue;
    if (control->cls == ControlClass::Static || control->IsGroupBox()) {
      // A label's mnemonic leads to the control that follows it.
      if (Control* next = NextTabStop(dialog, control.get(), false)) {
        SetFocus(next->handle);
        SelectAllIfEdit(*next);
      }
      return true;
    }
    if (!control->Enabled()) continue;
    PressButton(dialog, *control);
    return true;
  }
  return false;
}

BOOL KeyDown(DialogWindow& dialog, Control* focused, UINT vk, bool shift) {
  switch (vk) {
    case VK_TAB:
      if (Control* next = NextTabStop(dialog, focused, shift)) {
        SetFocus(next->handle);
        SelectAllIfEdit(*next);
      }
      return TRUE;
    case VK_RETURN:
      if (Control* button = dialog.DefaultButton()) {
        Command(dialog, button->id);
      } else {
        Command(dialog, 1);  // IDOK
      }
      return TRUE;
    case VK_ESCAPE:
      Command(dialog, 2);  // IDCANCEL
      return TRUE;
    case VK_SPACE:
      if (focused != nullptr && focused->cls == ControlClass::Button) {
        PressButton(dialog, *focused);
        return TRUE;
      }
      return FALSE;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (focused != nullptr && focused->IsRadioButton()) {
        if (Control* next = NextInRadioGroup(dialog, *focused, vk == VK_LEFT || vk == VK_UP)) {
          PressButton(dialog, *next);
        }
        return TRUE;
      }
      break;
    default:
      break;
  }
  if (focused != nullptr && focused->IsEdit() &&
      EditKey(*focused, vk, shift, GetKeyState(VK_CONTROL) < 0)) {
    NotifyWindow(dialog, WindowNotice::Changed);
    return TRUE;
  }
  return FALSE;
}

// A character message's text: one byte, or the two bytes of a double-byte character packed
// as lead * 256 + trail.
std::string CharacterText(WPARAM code) {
  if (code > 0xFF) return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  return std::string(1, static_cast<char>(code));
}

WPARAM CharacterCode(const std::string& character) {
  if (character.size() == 2) {
    return (static_cast<WPARAM>(static_cast<unsigned char>(character[0])) << 8) |
           static_cast<unsigned char>(character[1]);
  }
  return static_cast<unsigned char>(character[0]);
}

// The virtual key Windows sends before a character: letters and digits as themselves,
// anything else through the input method.
UINT KeyForCharacter(const std::string& character) {
  if (character.size() != 1) return VK_PROCESSKEY;
  unsigned char c = static_cast<unsigned char>(character[0]);
  if (std::isalnum(c)) return static_cast<UINT>(std::toupper(c));
  if (c == ' ') return VK_SPACE;
  return VK_PROCESSKEY;
}

bool IsCharacterKey(UINT vk) {
  return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == VK_SPACE;
}

void Deliver(DialogWindow& dialog, UINT message, WPARAM wParam,
             const std::function<BOOL(MSG*)>& preTranslate) {
  if (dialog.ended) return;
  MSG msg;
  msg.hwnd = dialog.focus != nullptr ? dialog.focus : dialog.handle();
  msg.message = message;
  msg.wParam = wParam;
  if (preTranslate && preTranslate(&msg)) return;
  IsDialogMessageA(dialog.handle(), &msg);
}

void Reject(const UiEvent& event, const std::string& why) {
  CurrentUiBackend().Rejected(event, why);
}

}  // namespace

BOOL IsDialogMessageA(HWND dialogHandle, MSG* message) {
  DialogWindow* dialog = FindDialogOf(dialogHandle);
  if (dialog == nullptr || message == nullptr) return FALSE;
  Control* focused = dialog->Focused();
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (message->message) {
    case WM_KEYDOWN:
      return KeyDown(*dialog, focused, static_cast<UINT>(message->wParam), shift);
    case WM_SYSKEYDOWN:
      if (message->wParam == VK_F4) {
        SendMessageA(dialog->handle(), WM_CLOSE, 0, 0);
        return TRUE;
      }
      return FALSE;
    case WM_CHAR: {
      std::string character = CharacterText(message->wParam);
      if (focused != nullptr && focused->IsEdit()) {
        if (character[0] == '\t' || character[0] == '\r' || character[0] == 0x1B ||
            character[0] == '\b') {
          return TRUE;  // already handled as keys
        }
        InsertCharacter(*focused, character);
        NotifyWindow(*dialog, WindowNotice::Changed);
        return TRUE;
      }
      if (character.size() == 1 && std::isalnum(static_cast<unsigned char>(character[0]))) {
        return Mnemonic(*dialog, character[0]) ? TRUE : FALSE;
      }
      return FALSE;
    }
    case WM_SYSCHAR: {
      std::string character = CharacterText(message->wParam);
      return character.size() == 1 && Mnemonic(*dialog, character[0]) ? TRUE : FALSE;
    }
    default:
      return FALSE;
  }
}

void DeliverInput(DialogWindow& dialog, const UiEvent& event,
                  const std::function<BOOL(MSG*)>& preTranslate) {
  SetKeyboardModifiers(event.shift, event.ctrl, event.alt);
  switch (event.kind) {
    case UiEvent::Kind::Key: {
      Deliver(dialog, event.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, event.vk, preTranslate);
      if (IsCharacterKey(event.vk) && !event.ctrl) {
        char c = static_cast<char>(event.vk);
        if (c != ' ' && !event.shift) c = static_cast<char>(std::tolower(c));
        Deliver(dialog, event.alt ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(c),
                preTranslate);
      }
      break;
    }
    case UiEvent::Kind::Char:
      if (event.text.empty()) break;
      Deliver(dialog, WM_KEYDOWN, KeyForCharacter(event.text), preTranslate);
      // A space key-down already pressed a focused button.
      if (!(event.text == " " && dialog.Focused() != nullptr &&
            dialog.Focused()->cls == ControlClass::Button)) {
        Deliver(dialog, WM_CHAR, CharacterCode(event.text), preTranslate);
      }
      break;
    case UiEvent::Kind::Click: {
      Control* control = dialog.Find(event.controlId);
      if (control == nullptr || !control->Visible() || !control->Enabled()) {
        Reject(event, control == nullptr ? "no such control" : "the control is disabled");
        break;
      }
      if (control->cls != ControlClass::Button || control->IsGroupBox()) {
        if (CanFocus(*control)) {
          SetFocus(control->handle);
          if (control->IsEdit() && event.caret >= 0) {
            // The caret goes where the click was, never inside a double-byte character.
            std::size_t caret =
                std::min(static_cast<std::size_t>(event.caret), control->text.size());
            if (caret < control->text.size() && cp932::IsTrailPosition(control->text, caret))
              --caret;
            if (event.word) {
              SelectWord(*control, caret);
            } else {
              control->Select(caret, caret);
            }
            NotifyWindow(dialog, WindowNotice::Changed);
          }
        } else {
          Reject(event, "the control cannot be clicked");
        }
        break;
      }
      SetFocus(control->handle);
      if (control->IsRadioButton()) {
        SendMessageA(control->handle, BM_CLICK, 0, 0);
      } else {
        Command(dialog, control->id);
      }
      break;
    }
    case UiEvent::Kind::Type: {
      Control* control = dialog.Find(event.controlId);
      if (control == nullptr || !control->IsEdit() || !control->Visible() || !control->Enabled()) {
        Reject(event, control == nullptr   ? "no such control"
                      : !control->IsEdit() ? "the control is not an edit"
                                           : "the control is disabled");
        break;
      }
      SetFocus(control->handle);
      SendMessageA(control->handle, EM_SETSEL, 0, -1);
      // Typing over a selection that holds text starts by removing it, even with nothing to
      // type: "type ID" with an empty text clears the field.
      if (event.text.empty()) {
        Deliver(dialog, WM_KEYDOWN, VK_DELETE, preTranslate);
        break;
      }
      for (std::size_t i = 0; i < event.text.size() && !dialog.ended;) {
        std::size_t length = cp932::IsInDoubleByte(event.text, i) ? 2 : 1;
        std::string character = event.text.substr(i, length);
        i += length;
        Deliver(dialog, WM_KEYDOWN, KeyForCharacter(character), preTranslate);
        Deliver(dialog, WM_CHAR, CharacterCode(character), preTranslate);
      }
      break;
    }
    case UiEvent::Kind::Close:
      SendMessageA(dialog.handle(), WM_CLOSE, 0, 0);
      break;
  }
  SetKeyboardModifiers(false, false, false);
}

}  // namespace winport
