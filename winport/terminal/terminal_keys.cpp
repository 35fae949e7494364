#include "winport/terminal/terminal_keys.h"

#include <curses.h>

#include "winport/encoding.h"
#include "winport/terminal/terminal_canvas.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

std::optional<UiEvent> FromCharacter(unsigned code, bool alt) {
  switch (code) {
    case '\r':
    case '\n':
      return UiEvent::Key(VK_RETURN, false, false, alt);
    case '\t':
      return UiEvent::Key(VK_TAB, false, false, alt);
    case 8:
    case 127:
      return UiEvent::Key(VK_BACK, false, false, alt);
    case 27:
      return UiEvent::Key(VK_ESCAPE, false, false, alt);
    case 0:
      return UiEvent::Key(VK_SPACE, false, true, alt);
    default:
      break;
  }
  if (code < 0x20) return UiEvent::Key('A' + code - 1, false, true, alt);
  if (alt) {
    if (code >= 'a' && code <= 'z') return UiEvent::Key(code - 'a' + 'A', false, false, true);
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
      return UiEvent::Key(code, code >= 'A' && code <= 'Z', false, true);
    if (code == ' ') return UiEvent::Key(VK_SPACE, false, false, true);
    return std::nullopt;
  }
  std::optional<std::string> cp932 =
      Utf8ToCp932Exact(Utf8FromWide(std::wstring(1, static_cast<wchar_t>(code))));
  if (!cp932 || cp932->empty()) return std::nullopt;
  return UiEvent::Char(*cp932);
}

std::optional<UiEvent> FromKeyCode(unsigned code, bool alt) {
  struct Mapping {
    int key;
    UINT vk;
    bool shift;
  };
  static const Mapping kMappings[] = {
      {KEY_ENTER, VK_RETURN, false}, {KEY_BACKSPACE, VK_BACK, false}, {KEY_DC, VK_DELETE, false},
      {KEY_SDC, VK_DELETE, true},    {KEY_BTAB, VK_TAB, true},        {KEY_UP, VK_UP, false},
      {KEY_DOWN, VK_DOWN, false},    {KEY_LEFT, VK_LEFT, false},      {KEY_RIGHT, VK_RIGHT, false},
      {KEY_SR, VK_UP, true},         {KEY_SF, VK_DOWN, true},         {KEY_SLEFT, VK_LEFT, true},
      {KEY_SRIGHT, VK_RIGHT, true},  {KEY_HOME, VK_HOME, false},      {KEY_END, VK_END, false},
      {KEY_SHOME, VK_HOME, true},    {KEY_SEND, VK_END, true},
  };
  for (const Mapping& mapping : kMappings) {
    if (static_cast<unsigned>(mapping.key) == code)
      return UiEvent::Key(mapping.vk, mapping.shift, false, alt);
  }
  if (code >= static_cast<unsigned>(KEY_F(1)) && code <= static_cast<unsigned>(KEY_F(60))) {
    int n = static_cast<int>(code - KEY_F(1));  // 0-based
    int bank = n / 12;
    UINT vk = VK_F1 + static_cast<UINT>(n % 12);
    switch (bank) {
      case 0:
        return UiEvent::Key(vk, false, false, alt);
      case 1:
        return UiEvent::Key(vk, true, false, alt);
      case 2:
        return UiEvent::Key(vk, false, true, alt);
      case 3:
        return UiEvent::Key(vk, true, true, alt);
      default:
        return UiEvent::Key(vk, false, false, true);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<UiEvent> TranslateKey(const TerminalKey& key) {
  return key.isKeyCode ? FromKeyCode(key.code, key.alt) : FromCharacter(key.code, key.alt);
}

}  // namespace winport
