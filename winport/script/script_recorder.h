// Writes what a person does in this process's dialogs as a script for the script front end
// (WINPORT_UI=script:PATH), so that a session at the terminal can be run again unattended
// and end the same way. Typing into an edit is written as one `type ID TEXT` line with the
// edit's final text, when the next other input comes (a key, a click, a message box);
// keys become `key NAME` (with shift+, ctrl+, alt+), clicks `click ID`, message-box answers
// `answer yes|no|ok|cancel` and save-file answers `save PATH` or `save cancel`. Texts are
// written in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "winport/ui_backend.h"

namespace winport {

// The script name of a key ("Enter", "shift+Tab", "alt+S"), or nullopt when the script has
// none (F1, Insert, ...).
std::optional<std::string> ScriptKeyName(const UiEvent& key);

class ScriptRecorder {
 public:
  // Records into the Linux file `path`. The file is rewritten whole after every line, beside
  // its old content and renamed into place, so it always holds a complete script.
  explicit ScriptRecorder(std::string path);

  // An input about to be handed to `dialog`.
  void Input(const DialogWindow& dialog, const UiEvent& event);
  // The button chosen in a message box (IDOK, IDYES, ...).
  void MessageBoxAnswer(int answer);
  // The save-file dialog's answer: a path (code page 932) or nullopt for Cancel.
  void SaveAnswer(const std::optional<std::string>& path);
  // Writes out typing not yet written (when the edit's dialog is about to go).
  void FlushTyping();

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  void Write(std::string line);

  std::string path_;
  std::vector<std::string> lines_;
  HWND typingInto_ = nullptr;  // the edit whose final text is still to be written
  bool writeFailed_ = false;
};

}  // namespace winport
