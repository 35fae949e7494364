// What a person's key presses and typed text on the desktop mean to a dialog: the inputs the
// other front ends hand over too (UiEvent), with Windows' virtual keys.
#pragma once

#include <QKeyEvent>
#include <QString>
#include <vector>

#include "winport/ui_backend.h"

namespace winport::desktop {

// The inputs one key press gives:
// - Tab (Shift+Tab as Tab with shift), Enter (either key), Esc, Backspace, Delete, Home,
//   End, the arrows and F1 to F24: the virtual key with the modifiers held;
// - a letter or digit with Ctrl or Alt: its virtual key ('A'..'Z', '0'..'9') with the
//   modifiers (Alt+N for a mnemonic), Space with Ctrl or Alt as VK_SPACE;
// - any other key that types text: each character of the text (Space included), as the
//   terminal hands them over;
// - modifier keys alone and keys without a meaning here: nothing.
std::vector<UiEvent> InputsOfKey(const QKeyEvent& key);

// The characters a text gives, one input each in code page 932; characters code page 932
// lacks are left out. For the text an input method commits.
std::vector<UiEvent> InputsOfText(const QString& text);

}  // namespace winport::desktop
