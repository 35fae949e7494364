#include "winport/edit_control.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "winport/cp932.h"
#include "winport/ui_backend.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

constexpr std::size_t kNoTyping = static_cast<std::size_t>(-1);

// Keeps what Ctrl+Z brings back before a change of the edit's text. Characters typed one
// after the other, each where the last one ended, are one change, as on Windows.
void RememberForUndo(Control& edit, bool typing) {
  const bool goesOn = typing && edit.undo.canUndo && edit.selStart == edit.selEnd &&
                      edit.selStart == edit.undo.typingEnd;
  if (!goesOn) {
    edit.undo.canUndo = true;
    edit.undo.text = edit.text;
    edit.undo.selStart = edit.selStart;
    edit.undo.selEnd = edit.selEnd;
  }
  edit.undo.typingEnd = kNoTyping;
}

// Ctrl+Z: back to the text before the last change; a second Ctrl+Z undoes the undo.
void Undo(Control& edit) {
  if (!edit.undo.canUndo) return;
  std::swap(edit.text, edit.undo.text);
  const std::size_t start = edit.undo.selStart;
  const std::size_t end = edit.undo.selEnd;
  edit.undo.selStart = edit.selStart;
  edit.undo.selEnd = edit.selEnd;
  edit.undo.typingEnd = kNoTyping;
  edit.Select(start, end);
}

std::size_t PreviousCharacter(const std::string& text, std::size_t offset) {
  if (offset == 0) return 0;
  --offset;
  if (cp932::IsTrailPosition(text, offset)) --offset;
  return offset;
}

std::size_t NextCharacter(const std::string& text, std::size_t offset) {
  if (offset >= text.size()) return text.size();
  return offset + (cp932::IsInDoubleByte(text, offset) ? 2 : 1);
}

// What a double-click takes as one word: a run of letters, digits, '_' and double-byte or
// half-width kana characters, a run of blanks, or one other mark (a separator of a path).
int WordClass(const std::string& text, std::size_t offset) {
  const unsigned char c = static_cast<unsigned char>(text[offset]);
  if (c == ' ' || c == '\t') return 0;
  if (std::isalnum(c) || c == '_' || c >= 0x80) return 1;
  return 2;
}

// Paste: the clipboard's text up to its first line break (a single-line edit takes one line),
// in place of the selection, as much of it as the limit leaves room for; digits-only edits
// take anything pasted, as on Windows.
void Paste(Control& edit) {
  std::string text = CurrentUiBackend().ClipboardText();
  text.resize(std::min(text.find_first_of("\r\n"), text.size()));
  const std::size_t kept = edit.text.size() - (edit.selEnd - edit.selStart);
  const std::size_t room = edit.limit > kept ? edit.limit - kept : 0;
  text.resize(cp932::CutLength(text, room));
  if (text.empty() && edit.selStart == edit.selEnd) return;
  RememberForUndo(edit, false);
  edit.text.replace(edit.selStart, edit.selEnd - edit.selStart, text);
  const std::size_t caret = edit.selStart + text.size();
  edit.Select(caret, caret);
}

// The clipboard keys of an edit: Ctrl+C and Ctrl+Insert copy the selection, Ctrl+X and
// Shift+Delete cut it, Ctrl+V and Shift+Insert paste, Ctrl+A selects everything.
bool ClipboardKey(Control& edit, UINT vk, bool shift, bool ctrl) {
  const bool copy = (ctrl && (vk == 'C' || vk == VK_INSERT));
  const bool cut = (ctrl && vk == 'X') || (shift && !ctrl && vk == VK_DELETE);
  const bool paste = (ctrl && vk == 'V') || (shift && !ctrl && vk == VK_INSERT);
  if (copy || cut) {
    if (edit.selStart == edit.selEnd) return true;  // nothing selected: the clipboard stays
    CurrentUiBackend().SetClipboardText(
        edit.text.substr(edit.selStart, edit.selEnd - edit.selStart));
    if (cut) {
      RememberForUndo(edit, false);
      edit.text.erase(edit.selStart, edit.selEnd - edit.selStart);
      edit.Select(edit.selStart, edit.selStart);
    }
    return true;
  }
  if (paste) {
    Paste(edit);
    return true;
  }
  if (ctrl && vk == 'A') {
    edit.Select(0, edit.text.size());
    return true;
  }
  if (ctrl && vk == 'Z') {
    Undo(edit);
    return true;
  }
  return false;
}

}  // namespace

void InsertCharacter(Control& edit, const std::string& character) {
  if ((edit.style & ES_NUMBER) &&
      (character.size() != 1 || !std::isdigit(static_cast<unsigned char>(character[0])))) {
    return;  // Windows refuses it with a balloon tip
  }
  std::string text = edit.text.substr(0, edit.selStart) + character + edit.text.substr(edit.selEnd);
  if (text.size() > edit.limit) return;
  RememberForUndo(edit, true);
  edit.text = std::move(text);
  const std::size_t caret = edit.selStart + character.size();
  edit.Select(caret, caret);
  edit.undo.typingEnd = caret;
}

// The word around the character at `caret` (the one before it at the end of the text).
void SelectWord(Control& edit, std::size_t caret) {
  const std::string& text = edit.text;
  if (text.empty()) return;
  std::size_t at = caret < text.size() ? caret : PreviousCharacter(text, text.size());
  const int kind = WordClass(text, at);
  std::size_t start = at;
  std::size_t end = NextCharacter(text, at);
  if (kind != 2) {
    while (start > 0 && WordClass(text, PreviousCharacter(text, start)) == kind) {
      start = PreviousCharacter(text, start);
    }
    while (end < text.size() && WordClass(text, end) == kind) end = NextCharacter(text, end);
  }
  edit.Select(start, end);
}

// Editing keys inside an edit; false for keys an edit leaves to the dialog. With Shift the
// caret keys move the caret and keep the other end of the selection where it was.
bool EditKey(Control& edit, UINT vk, bool shift, bool ctrl) {
  if (ClipboardKey(edit, vk, shift, ctrl)) return true;
  std::size_t caret = edit.Caret();
  switch (vk) {
    case VK_BACK:
    case VK_DELETE: {
      std::size_t from = edit.selStart;
      std::size_t to = edit.selEnd;
      if (from == to) {
        if (vk == VK_BACK) {
          from = PreviousCharacter(edit.text, caret);
        } else {
          to = NextCharacter(edit.text, caret);
        }
      }
      if (from == to) return true;  // nothing before or after the caret
      RememberForUndo(edit, false);
      edit.text.erase(from, to - from);
      edit.Select(from, from);
      return true;
    }
    case VK_LEFT:
      caret = PreviousCharacter(edit.text, caret);
      break;
    case VK_RIGHT:
      caret = NextCharacter(edit.text, caret);
      break;
    case VK_HOME:
      caret = 0;
      break;
    case VK_END:
      caret = edit.text.size();
      break;
    default:
      return false;
  }
  edit.Select(shift ? edit.Anchor() : caret, caret);
  return true;
}

}  // namespace winport
