#include "winport/desktop/key_input.h"

#include <optional>

#include "winport/encoding.h"
#include "winport/user_windows.h"

namespace winport::desktop {
namespace {

constexpr UINT kVkF1 = 0x70;

std::optional<UINT> VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Down:
      return VK_DOWN;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kVkF1 + static_cast<UINT>(key - Qt::Key_F1);
  return std::nullopt;
}

}  // namespace

std::vector<UiEvent> InputsOfKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  // Shift+Tab arrives as Backtab, which already says shift.
  const bool shift = (modifiers & Qt::ShiftModifier) || key.key() == Qt::Key_Backtab;
  const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
  const bool alt = (modifiers & Qt::AltModifier) != 0;
  if (std::optional<UINT> vk = VirtualKey(key.key())) return {UiEvent::Key(*vk, shift, ctrl, alt)};
  if (ctrl || alt) {
    const int k = key.key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) {
      return {UiEvent::Key(static_cast<UINT>(k), shift, ctrl, alt)};  // Qt's codes are ASCII
    }
    if (k == Qt::Key_Space) return {UiEvent::Key(VK_SPACE, shift, ctrl, alt)};
    return {};
  }
  return InputsOfText(key.text());
}

std::vector<UiEvent> InputsOfText(const QString& text) {
  std::vector<UiEvent> inputs;
  for (qsizetype i = 0; i < text.size(); ++i) {
    qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QString character = text.mid(i, length);
    i += length - 1;
    if (character[0].unicode() < 0x20 || character[0].unicode() == 0x7F) continue;  // controls
    std::optional<std::string> cp932 = Utf8ToCp932Exact(character.toStdString());
    if (cp932 && !cp932->empty()) inputs.push_back(UiEvent::Char(*cp932));
  }
  return inputs;
}

}  // namespace winport::desktop
