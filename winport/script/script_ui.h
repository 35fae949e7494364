// The script backend: drives a run from lines of text (a file, or standard input), so that
// every dialog and message box can be answered without a person. One command a line, UTF-8;
// blank lines and lines starting with '#' are ignored:
//   type ID TEXT     focus edit ID and replace its text as typing would
//   click ID         click a button or radio button (or focus another control)
//   key NAME         NAME optionally after shift+, ctrl+, alt+: Enter, Esc, Tab, F12, F4, Up,
//                    Down, Left, Right, Home, End, Space, Backspace, Delete, a letter or digit
//   answer yes|no|ok|cancel    the next message box (y, n, o or c alone as well: a line
//                    that is no command answers by its first character, as before)
//   save PATH | save cancel    the next save-file dialog
// When the script has run out, a message box gets the cautious answer, a dialog Esc and a
// save-file dialog Cancel. A line that does not fit the moment (an answer while a dialog
// waits for keys, a click on a disabled control, an unknown command) is reported on the
// error stream with its line number, and the run goes on as if the script had ended. Every
// message box is echoed to the output stream with the answer it got.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "winport/ui_backend.h"

namespace winport {

class ScriptUiBackend : public UiBackend {
 public:
  // Reads from `in` (nullptr: an empty script); not owned. `name` names the script in reports.
  ScriptUiBackend(std::FILE* in, std::FILE* out, std::FILE* err, std::string name);

  int ShowMessageBox(const MessageBoxRequest& request) override;
  UiEvent NextDialogEvent(const DialogWindow& dialog) override;
  std::optional<std::string> AskSaveFileName(const SaveFileRequest& request) override;
  void Rejected(const UiEvent& event, const std::string& why) override;

 private:
  struct Line {
    int number = 0;
    std::string text;  // UTF-8, without the line end
  };
  // The next command line, or nullopt when the script has ended.
  std::optional<Line> Next();
  // Reports `line` as not fitting and ends the script.
  void Misfit(const Line& line, const std::string& why);

  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
  std::string name_;
  int lineNumber_ = 0;
  bool ended_ = false;
  Line last_;  // the line that produced the current dialog input
};

// Parses a `key` command's NAME into a key event; nullopt when it names no key.
std::optional<UiEvent> ParseKeyName(const std::string& name);

}  // namespace winport
