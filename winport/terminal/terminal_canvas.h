// A grid of character cells the terminal front end draws into before it hands the whole
// picture to the terminal library: wide characters take two cells, so CP932 texts shown as
// UTF-8 stay aligned however many double-width characters they hold. Kept apart from the
// terminal library so that a layout can be checked cell by cell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace winport {

// Cell attributes (bits).
constexpr unsigned kAttrNone = 0;
constexpr unsigned kAttrBold = 1;
constexpr unsigned kAttrUnderline = 2;
constexpr unsigned kAttrDim = 4;
constexpr unsigned kAttrReverse = 8;

// Columns a character takes on a terminal: 2 for East Asian wide and full-width characters,
// 1 for the rest (a control character is shown as '?', one column). Needs a UTF-8 LC_CTYPE
// (UseUtf8Ctype), as the terminal library does.
int CellWidth(wchar_t ch);
// Columns a text takes.
int TextWidth(std::wstring_view text);
// Decodes UTF-8; a malformed sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view text);
// The program's code page 932 text as characters for the screen.
std::wstring WideFromCp932(std::string_view cp932);
// Switches LC_CTYPE to the environment's locale, or to C.UTF-8 when that is not UTF-8.
// Returns false when no UTF-8 locale is available.
bool UseUtf8Ctype();

class TextCanvas {
 public:
  struct Cell {
    wchar_t ch = L' ';
    unsigned attr = kAttrNone;
    bool trailing = false;  // the right half of a double-width character
  };

  TextCanvas(int rows, int cols);
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  const Cell& at(int row, int col) const { return cells_[Index(row, col)]; }

  // Writes `text` from (row, col) and returns the column after it. Cells at or past
  // `clipCol` (and outside the canvas) are left alone; a double-width character that would
  // straddle the clip edge is replaced by a blank. Writing over half of a double-width
  // character blanks its other half.
  int Put(int row, int col, std::wstring_view text, unsigned attr = kAttrNone, int clipCol = -1);
  // Fills `count` cells from (row, col) with `ch` (a one-column character).
  void Fill(int row, int col, int count, wchar_t ch, unsigned attr = kAttrNone);
  // Adds `attr` to the cells of a row span.
  void AddAttr(int row, int col, int count, unsigned attr);
  // A box with its corners at (top, left) and (bottom, right), and `title` set into the top
  // edge from its third column. Interior cells are cleared when `clear` is set.
  void Box(int top, int left, int bottom, int right, std::wstring_view title, unsigned attr,
           bool clear);
  // The text of one row, trailing blanks removed (for checks and logs).
  std::wstring RowText(int row) const;

 private:
  int Index(int row, int col) const { return row * cols_ + col; }
  bool Inside(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
  void Set(int row, int col, wchar_t ch, unsigned attr, bool trailing);

  int rows_;
  int cols_;
  std::vector<Cell> cells_;
};

}  // namespace winport
