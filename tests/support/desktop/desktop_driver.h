// Acting as a person on the desktop front end's windows, for tests: key clicks and mouse
// clicks through Qt's own event delivery (QTest), answers to the box on the screen, and a
// comparison of what the widgets show with what the dialog model says. Qt stays behind this
// header. Call these from DesktopUiBackend's hooks (onWait, onMessageBox, onSaveFile).
// A program linked with the driver uses Qt's offscreen platform unless QT_QPA_PLATFORM names
// another, and keeps LeakSanitizer quiet about the caches Qt holds until the process ends.
#pragma once

#include <optional>
#include <string>

#include "winport/ui_backend.h"

namespace winport::desktop {

// Gives the dialog's window `event` as a person would:
// - Key: the key with its modifiers, at the widget that has Qt's focus in that window (the
//   window itself when none has);
// - Char: that character typed (a key for ASCII text, else the input method's commit);
// - Click: the left mouse button pressed and released in the middle of the control;
// - Type: a click in the edit, End, Backspace once per character of its text, and the new
//   text typed character by character;
// - Close: the window's close request (its title bar button).
void Perform(const DialogWindow& dialog, const UiEvent& event);

// Answers the message box on the screen with the keys a person uses: Enter for IDOK, Y for
// IDYES, N for IDNO, Esc for IDCANCEL. False when no box is up or the box stays up (it is
// then closed without an answer, so that the program goes on).
bool AnswerMessageBox(int answer);

// Fills the save-file dialog on the screen with `windowsPath` (code page 932, through the
// drive map to the Linux path) and presses Enter; nullopt presses Esc. False when no such
// dialog is up, the path has no Linux form, or the dialog stays up (then it is cancelled).
bool AnswerSaveFile(const std::optional<std::string>& windowsPath);

// How the window's widgets differ from the dialog model, one line each ("1014 text: ..."):
// title, visibility, enabled states, texts, checks, edit texts and selections, bar ranges
// and positions, the button Enter presses, tool-tips, and the control with the focus.
// Empty when they agree, or "no window" when the dialog has none.
std::string Disagreements(const DialogWindow& dialog);

// The tool-tip the widget of control `id` shows (code page 932); empty for none.
std::string ShownToolTip(const DialogWindow& dialog, int id);

// Rests the pointer over control `id` until its tool-tip shows, and returns the tip's text
// (code page 932); empty when none shows within a few seconds. Needs a real display.
std::string HoverForToolTip(const DialogWindow& dialog, int id);

// Texts the dialog's window cannot show whole, one line each: characters the dialog font
// has no glyph for, and labels wider than their control. Empty when every text shows.
std::string TextProblems(const DialogWindow& dialog);

// PNG pictures (Linux paths), taken once the windows have painted: the dialog's window as
// the model stands now and the box on the screen, each under a caption bar with its title
// (drawn here: a display without a window manager frames nothing), and the shown windows
// where they stand on the screen, on a plain ground.
// False when there is nothing to take or the file cannot be written.
bool SaveScreenshot(const DialogWindow& dialog, const std::string& path);
bool SaveBoxScreenshot(const std::string& path);
bool SaveScreenScreenshot(const std::string& path);

}  // namespace winport::desktop
