// What an edit control does with the keys, characters and clicks a person gives it, as a
// Windows single-line edit does: typing in place of the selection (within the limit, digits
// only where asked, never half a character), caret and selection keys, the clipboard keys,
// Ctrl+Z, and a word selected by a double click.
#pragma once

#include <cstddef>
#include <string>

#include "winport/dialog_window.h"

namespace winport {

// A typed character (one code page 932 character) in place of the selection; refused whole
// when it does not fit the limit or is not a digit in a digits-only edit.
void InsertCharacter(Control& edit, const std::string& character);
// Editing, caret and clipboard keys; false for keys an edit leaves to the dialog. With Shift
// the caret keys move the caret and keep the other end of the selection where it was.
bool EditKey(Control& edit, UINT vk, bool shift, bool ctrl);
// Selects the word at byte `caret` (a double click).
void SelectWord(Control& edit, std::size_t caret);

}  // namespace winport
