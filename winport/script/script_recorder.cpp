#include "winport/script/script_recorder.h"

#include <unistd.h>

#include <cstdio>

#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

std::optional<std::string> BaseKeyName(UINT vk) {
  switch (vk) {
    case VK_RETURN:
      return "Enter";
    case VK_ESCAPE:
      return "Esc";
    case VK_TAB:
      return "Tab";
    case VK_F12:
      return "F12";
    case VK_UP:
      return "Up";
    case VK_DOWN:
      return "Down";
    case VK_LEFT:
      return "Left";
    case VK_RIGHT:
      return "Right";
    case VK_SPACE:
      return "Space";
    case VK_F4:
      return "F4";
    case VK_HOME:
      return "Home";
    case VK_END:
      return "End";
    case VK_BACK:
      return "Backspace";
    case VK_DELETE:
      return "Delete";
    default:
      break;
  }
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
    return std::string(1, static_cast<char>(vk));
  return std::nullopt;
}

// Keys that only move the caret or change the text of an edit: their effect is in the edit's
// final text.
bool IsEditingKey(const UiEvent& event) {
  if (event.kind == UiEvent::Kind::Char) return true;
  // With Shift the caret keys select: the selection is no part of the final text.
  if (event.kind != UiEvent::Kind::Key || event.ctrl || event.alt) return false;
  if (event.shift && event.vk != VK_BACK && event.vk != VK_DELETE) return false;
  switch (event.vk) {
    case VK_BACK:
    case VK_DELETE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::string> ScriptKeyName(const UiEvent& key) {
  std::optional<std::string> base = BaseKeyName(key.vk);
  if (!base) return std::nullopt;
  std::string name;
  if (key.shift) name += "shift+";
  if (key.ctrl) name += "ctrl+";
  if (key.alt) name += "alt+";
  return name + *base;
}

ScriptRecorder::ScriptRecorder(std::string path) : path_(std::move(path)) {
  Write("# recorded as a person worked; replay with WINPORT_UI=script:PATH");
}

void ScriptRecorder::Input(const DialogWindow& dialog, const UiEvent& event) {
  const Control* focused = dialog.Focused();
  if (focused != nullptr && focused->IsEdit() && IsEditingKey(event)) {
    if (typingInto_ != focused->handle) FlushTyping();
    typingInto_ = focused->handle;
    return;
  }
  FlushTyping();
  switch (event.kind) {
    case UiEvent::Kind::Char: {
      // A character outside an edit acts as its key (a button's mnemonic, Space on a button).
      UINT vk = 0;
      char c = event.text.size() == 1 ? event.text[0] : 0;
      if (c == ' ') vk = VK_SPACE;
      if (c >= 'a' && c <= 'z') vk = static_cast<UINT>(c - 'a' + 'A');
      if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) vk = static_cast<UINT>(c);
      if (vk != 0) {
        Write("key " + *ScriptKeyName(UiEvent::Key(vk)));
      } else {
        Write("# typed \"" + Cp932ToUtf8(event.text) + "\" outside an edit: no script form");
      }
      break;
    }
    case UiEvent::Kind::Key:
      if (std::optional<std::string> name = ScriptKeyName(event)) {
        Write("key " + *name);
      } else {
        Write("# key " + std::to_string(event.vk) + ": no script form");
      }
      break;
    case UiEvent::Kind::Click: {
      // Where a click placed the caret matters to the keys after it (a paste, Shift+End).
      std::string line = (event.word ? "dblclick " : "click ") + std::to_string(event.controlId);
      if (event.caret >= 0) line += " " + std::to_string(event.caret);
      Write(line);
      break;
    }
    case UiEvent::Kind::Type:
      Write("type " + std::to_string(event.controlId) + " " + Cp932ToUtf8(event.text));
      break;
    case UiEvent::Kind::Close:
      Write("# close: no script form");
      break;
  }
}

void ScriptRecorder::FlushTyping() {
  if (typingInto_ == nullptr) return;
  const Control* edit = FindControl(typingInto_);
  typingInto_ = nullptr;
  if (edit == nullptr) return;
  Write("type " + std::to_string(edit->id) + " " + Cp932ToUtf8(edit->text));
}

void ScriptRecorder::MessageBoxAnswer(int answer) {
  FlushTyping();
  const char* word = answer == IDYES  ? "yes"
                     : answer == IDNO ? "no"
                     : answer == IDOK ? "ok"
                                      : "cancel";
  Write(std::string("answer ") + word);
}

void ScriptRecorder::SaveAnswer(const std::optional<std::string>& path) {
  FlushTyping();
  Write(path ? "save " + Cp932ToUtf8(*path) : std::string("save cancel"));
}

void ScriptRecorder::Write(std::string line) {
  lines_.push_back(std::move(line));
  if (writeFailed_) return;
  // A person's session is rarely more than a few hundred lines: rewriting the whole file
  // keeps every state of it a complete script.
  std::string temp = path_ + ".tmp" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "w");
  bool ok = file != nullptr;
  for (const std::string& each : lines_) {
    if (ok) ok = std::fprintf(file, "%s\n", each.c_str()) >= 0;
  }
  if (file != nullptr && std::fclose(file) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), path_.c_str()) == 0) return;
  std::remove(temp.c_str());
  writeFailed_ = true;
  std::fprintf(stderr, "winport: cannot write the recorded script to %s\n", path_.c_str());
}

}  // namespace winport
