// Keys as the terminal library reports them, turned into the input Windows would give a
// dialog: virtual keys with their modifiers, and typed characters in code page 932.
#pragma once

#include <optional>

#include "winport/ui_backend.h"

namespace winport {

// One key from the terminal: a character (`isKeyCode` false: `code` is the wide character)
// or a key code of the terminal library (KEY_UP, KEY_F(12), ...). `alt` is set when the
// terminal sent Escape just before it, as terminals send Meta.
struct TerminalKey {
  bool isKeyCode = false;
  unsigned code = 0;
  bool alt = false;
};

// The input for a key, or nullopt when Windows would deliver none (a character that code
// page 932 cannot hold, a key this front end does not know).
// - Printable characters, the space included, are UiEvent::Char with their code page 932
//   bytes; with Alt, a letter or digit is the key of its virtual key code ('A'..'Z', '0'..'9').
// - Control characters are their keys: Enter, Tab, Backspace, Escape; Ctrl+letter is the
//   letter's key with ctrl.
// - Key codes: arrows, Home, End, Delete, Shift+Tab (back tab), the shifted arrows, Home and
//   End, and F1..F12; F13..F24 are Shift+F1..F12, F25..F36 Ctrl+F1..F12, F49..F60
//   Alt+F1..F12, as xterm-like terminals number them.
std::optional<UiEvent> TranslateKey(const TerminalKey& key);

}  // namespace winport
