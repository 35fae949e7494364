// The controlling terminal as the terminal front end uses it, through ncursesw: opened on
// /dev/tty (so the program's own standard output stays clean), left and re-entered as
// dialogs come and go, and always given back in its normal state when the process ends,
// also by exit() or a crash signal.
#pragma once

#include <optional>

#include "winport/terminal/terminal_canvas.h"
#include "winport/terminal/terminal_form.h"
#include "winport/terminal/terminal_keys.h"

namespace winport {

class TerminalScreen {
 public:
  TerminalScreen() = default;
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // Takes the terminal for drawing (opening it the first time). False when there is no
  // usable terminal; the reason has then been written to stderr once.
  bool Enter();
  // Gives the terminal back in its normal state; Enter takes it again.
  void Leave();
  bool active() const { return active_; }

  int rows() const;
  int cols() const;
  // Shows the canvas (of rows() x cols()) with the cursor at `caret`, hidden when none.
  void Show(const TextCanvas& canvas, std::optional<Caret> caret);
  // Waits for the next key. nullopt when the terminal was resized (draw again) or gave no
  // input (closed); `*closed` tells which.
  std::optional<TerminalKey> ReadKey(bool* closed);
  void Beep();

 private:
  bool active_ = false;
  bool failed_ = false;
};

}  // namespace winport
