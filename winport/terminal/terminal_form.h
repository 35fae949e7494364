// How the terminal front end shows a dialog: the template's dialog units mapped to character
// cells and each control drawn as a form element. One column is 3.5 horizontal dialog units
// (a double-width character, 8 units on the desktop, takes two) and one row is 10 vertical
// units, which keeps the conditions dialog (255 x 228 units) inside an 80 x 24 terminal and
// every row of its controls apart.
#pragma once

#include <map>
#include <optional>

#include "winport/dialog_window.h"
#include "winport/terminal/terminal_canvas.h"

namespace winport {

struct CellRect {
  int row = 0;
  int col = 0;
  int rows = 1;
  int cols = 1;
};

// Where the terminal's cursor goes.
struct Caret {
  int row = 0;
  int col = 0;
};

// A rectangle in dialog units as cells of the dialog's client area (at least one cell each
// way).
CellRect CellsOf(const DialogRect& rect);
// The cell size of a dialog's client area.
CellRect ClientCells(const DialogTemplate& dialogTemplate);

// A control's text as shown: "&&" becomes "&", the '&' before the mnemonic letter is dropped
// and `mnemonicIndex` says where the letter now is (-1 when there is none).
std::wstring ShownText(const std::string& cp932, int* mnemonicIndex);

// Draws a one-line edit field of code page 932 text over `cells`: blank cells shown as '_'
// while enabled, the selection reversed while focused, right- or centre-aligned as `style`
// says while the text fits, else scrolled so that the caret stays in view (`scroll`, the
// first shown column, is kept by the caller). Returns the caret's cell when focused.
std::optional<Caret> PaintEditField(TextCanvas& canvas, const CellRect& cells,
                                    const std::string& cp932, std::size_t selStart,
                                    std::size_t selEnd, DWORD style, bool enabled, bool focused,
                                    int& scroll);

// Draws dialogs onto a canvas. Keeps what a dialog cannot tell by itself: how far each edit
// is scrolled, so that the caret stays in view as Windows scrolls an auto-scrolling edit.
class FormPainter {
 public:
  // Draws `dialog` centred on the canvas inside a frame that carries its title, with a busy
  // mark when `busy`; on a canvas too small for the frame, says instead how large the terminal
  // must be. Returns where the terminal's cursor belongs when the dialog holds the
  // focused control (an edit's caret, a button's text), or nullopt.
  std::optional<Caret> Paint(const DialogWindow& dialog, TextCanvas& canvas, bool busy);

 private:
  std::map<HWND, int> scroll_;  // first shown column of each edit's text
};

}  // namespace winport
