// The modal boxes the terminal front end draws over the form: the message box and the
// save-file dialog. Each takes the inputs a dialog would (UiEvent) and says when it is done,
// so that the terminal part only draws and reads keys.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "winport/terminal/terminal_canvas.h"
#include "winport/terminal/terminal_form.h"
#include "winport/ui_backend.h"

namespace winport {

// A message box: caption in the frame, the icon as a word before the text, the text with its
// line breaks (long lines wrapped), and the buttons of its style in the order Windows shows
// them ("OK"; "OK", "キャンセル"; "はい(Y)", "いいえ(N)"), the first one focused.
// Keys as on Windows: Tab and the arrows move between the buttons, Enter and Space press the
// focused one, Y and N (with or without Alt) press Yes and No, Esc presses Cancel, or OK when
// OK is the only button, and does nothing in a Yes/No box.
class MessageBoxView {
 public:
  explicit MessageBoxView(const MessageBoxRequest& request);
  std::optional<Caret> Paint(TextCanvas& canvas) const;
  // The button the input presses (IDOK, ...), or 0 while the box stays; `ignored` is set when
  // the input means nothing here.
  int Handle(const UiEvent& event, bool* ignored);

 private:
  struct Button {
    int id;
    std::wstring text;
    int mnemonic;
    char letter;  // the key that presses it, or 0
  };

  MessageBoxRequest request_;
  std::vector<Button> buttons_;
  std::size_t focus_ = 0;
};

// The save-file dialog: its title in the frame, one path field prefilled with the initial
// folder and file name, and the file type of the filter. Enter confirms a non-empty path,
// Esc cancels. The field edits code page 932 text as an edit control does (Left, Right,
// Home, End, Backspace, Delete), at most MAX_PATH - 1 bytes.
class SaveFileView {
 public:
  explicit SaveFileView(const SaveFileRequest& request);
  std::optional<Caret> Paint(TextCanvas& canvas);
  // Done: `*result` holds the path, or nullopt for Cancel. Not done: false.
  bool Handle(const UiEvent& event, std::optional<std::string>* result, bool* ignored);

  const std::string& path() const { return path_; }

 private:
  std::size_t PreviousStart(std::size_t at) const;  // start of the character before `at`
  std::size_t NextStart(std::size_t at) const;

  SaveFileRequest request_;
  std::string path_;  // code page 932
  std::size_t caret_ = 0;
  int scroll_ = 0;
};

}  // namespace winport
