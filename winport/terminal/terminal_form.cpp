#include "winport/terminal/terminal_form.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "winport/cp932.h"
#include "winport/encoding.h"

namespace winport {
namespace {

constexpr int kUnitsPerTwoCols = 7;  // 3.5 horizontal dialog units a column
constexpr int kUnitsPerRow = 10;

int ColOf(int x) { return x * 2 / kUnitsPerTwoCols; }
int RowOf(int y) { return y / kUnitsPerRow; }

using cp932::IsLeadByte;

// One character of a CP932 text: where its bytes start and how it is shown.
struct Unit {
  std::size_t byte;
  wchar_t ch;
};

std::vector<Unit> UnitsOf(const std::string& cp932) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < cp932.size();) {
    starts.push_back(i);
    i += IsLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
  }
  std::wstring shown = WideFromCp932(cp932);
  std::vector<Unit> units;
  if (shown.size() == starts.size()) {
    for (std::size_t k = 0; k < starts.size(); ++k) units.push_back({starts[k], shown[k]});
    return units;
  }
  // A character that did not convert to exactly one: convert each on its own.
  for (std::size_t k = 0; k < starts.size(); ++k) {
    std::size_t end = k + 1 < starts.size() ? starts[k + 1] : cp932.size();
    std::wstring one = WideFromCp932(cp932.substr(starts[k], end - starts[k]));
    units.push_back({starts[k], one.empty() ? L'?' : one[0]});
  }
  return units;
}

// Writes a shown text with its mnemonic letter underlined; returns the column after it.
int PutLabel(TextCanvas& canvas, int row, int col, const std::wstring& text, int mnemonic,
             unsigned attr, int clipCol) {
  int end = canvas.Put(row, col, text, attr, clipCol);
  if (mnemonic >= 0) {
    int at = col + TextWidth(std::wstring_view(text).substr(0, mnemonic));
    int width = CellWidth(text[mnemonic]);
    if (clipCol < 0 || at + width <= clipCol) canvas.AddAttr(row, at, width, kAttrUnderline);
  }
  return end;
}

// Where a text of `width` columns starts in a span of `cols` columns for a static style.
int AlignedStart(int col, int cols, int width, DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      return col + std::max(0, (cols - width) / 2);
    case SS_RIGHT:
      return col + std::max(0, cols - width);
    default:
      return col;
  }
}

// In place of a dialog the terminal cannot hold: how large it must be, centred, each line
// cut at the edge. Drawn again at the next resize.
void PaintTooSmall(TextCanvas& canvas, const std::wstring& title, int cols, int rows) {
  const std::wstring lines[] = {
      L"「" + title + L"」を表示するには",
      L"端末を " + std::to_wstring(cols) + L" x " + std::to_wstring(rows) +
          L" 以上に広げてください",
      L"(いまは " + std::to_wstring(canvas.cols()) + L" x " + std::to_wstring(canvas.rows()) + L")",
  };
  const int count = static_cast<int>(std::size(lines));
  int row = std::max(0, (canvas.rows() - count) / 2);
  for (const std::wstring& line : lines) {
    if (row >= canvas.rows()) break;
    int col = std::max(0, (canvas.cols() - TextWidth(line)) / 2);
    canvas.Put(row++, col, line, kAttrBold, canvas.cols());
  }
}

}  // namespace

CellRect CellsOf(const DialogRect& rect) {
  CellRect cells;
  cells.row = RowOf(rect.y);
  cells.col = ColOf(rect.x);
  cells.rows = std::max(1, RowOf(rect.y + rect.cy) - cells.row);
  cells.cols = std::max(1, ColOf(rect.x + rect.cx) - cells.col);
  return cells;
}

CellRect ClientCells(const DialogTemplate& dialogTemplate) {
  return CellsOf(DialogRect{0, 0, dialogTemplate.cx, dialogTemplate.cy});
}

std::wstring ShownText(const std::string& cp932, int* mnemonicIndex) {
  *mnemonicIndex = -1;
  std::string plain;
  std::size_t mnemonicByte = std::string::npos;
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(cp932[i]);
    if (IsLeadByte(b) && i + 1 < cp932.size()) {
      plain.append(cp932, i, 2);
      ++i;
    } else if (b == '&' && i + 1 < cp932.size()) {
      if (cp932[i + 1] != '&' && mnemonicByte == std::string::npos) mnemonicByte = plain.size();
      plain.push_back(cp932[++i]);
      if (cp932[i] != '&' && IsLeadByte(static_cast<unsigned char>(cp932[i])) &&
          i + 1 < cp932.size())
        plain.push_back(cp932[++i]);
    } else {
      plain.push_back(static_cast<char>(b));
    }
  }
  std::vector<Unit> units = UnitsOf(plain);
  std::wstring shown;
  for (const Unit& unit : units) {
    if (unit.byte == mnemonicByte) *mnemonicIndex = static_cast<int>(shown.size());
    shown.push_back(unit.ch);
  }
  return shown;
}

std::optional<Caret> PaintEditField(TextCanvas& canvas, const CellRect& cells,
                                    const std::string& cp932, std::size_t selStart,
                                    std::size_t selEnd, DWORD style, bool enabled, bool focused,
                                    int& scroll) {
  std::vector<Unit> units = UnitsOf(cp932);
  // Columns of each character and of the caret.
  std::vector<int> colOf;
  int width = 0;
  int caretCol = -1;
  std::size_t selLow = std::min(selStart, selEnd);
  std::size_t selHigh = std::max(selStart, selEnd);
  for (const Unit& unit : units) {
    if (caretCol < 0 && unit.byte >= selEnd) caretCol = width;
    colOf.push_back(width);
    width += CellWidth(unit.ch);
  }
  if (caretCol < 0) caretCol = width;

  const int view = cells.cols;
  int start = cells.col;
  if (width < view) {
    scroll = 0;
    DWORD align = style & (ES_CENTER | ES_RIGHT);
    if (align == ES_RIGHT) start += view - width - (focused && caretCol == width ? 1 : 0);
    if (align == ES_CENTER) start += (view - width) / 2;
    start = std::max(start, cells.col);
  } else {
    // Keep the caret in view, with a cell for it after the last character.
    if (caretCol < scroll) scroll = caretCol;
    if (caretCol >= scroll + view) scroll = caretCol - view + 1;
    scroll = std::clamp(scroll, 0, std::max(0, width - view + 1));
  }

  const unsigned base = enabled ? kAttrNone : kAttrDim;
  const int end = cells.col + view;
  canvas.Fill(cells.row, cells.col, view, enabled ? L'_' : L' ', base);
  for (std::size_t k = 0; k < units.size(); ++k) {
    int at = start + colOf[k] - scroll;
    if (at < cells.col) continue;
    bool selected = focused && units[k].byte >= selLow && units[k].byte < selHigh;
    canvas.Put(cells.row, at, std::wstring(1, units[k].ch), base | (selected ? kAttrReverse : 0),
               end);
  }
  if (!focused) return std::nullopt;
  return Caret{cells.row, std::clamp(start + caretCol - scroll, cells.col, end - 1)};
}

std::optional<Caret> FormPainter::Paint(const DialogWindow& dialog, TextCanvas& canvas, bool busy) {
  CellRect client = ClientCells(dialog.dialogTemplate());
  if (client.rows + 2 > canvas.rows() || client.cols + 2 > canvas.cols()) {
    // A form cut off at the edge would hide fields and buttons without a word.
    PaintTooSmall(canvas, WideFromCp932(dialog.title), client.cols + 2, client.rows + 2);
    return std::nullopt;
  }
  int top = std::max(0, (canvas.rows() - client.rows - 2) / 2);
  int left = std::max(0, (canvas.cols() - client.cols - 2) / 2);
  int bottom = top + client.rows + 1;
  int right = left + client.cols + 1;
  canvas.Box(top, left, bottom, right, WideFromCp932(dialog.title), kAttrBold, true);
  if (busy) canvas.Put(top, std::max(left + 2, right - 8), L" (busy) ", kAttrBold, right);
  int originRow = top + 1;
  int originCol = left + 1;
  int clientEnd = right;  // controls never draw over the frame

  const Control* focused = dialog.Focused();
  const Control* defaultButton = dialog.DefaultButton();
  std::optional<Caret> caret;
  for (const auto& owned : dialog.controls()) {
    const Control& control = *owned;
    if (!control.Visible()) continue;
    CellRect cells = CellsOf(control.rect);
    cells.row += originRow;
    cells.col += originCol;
    const bool hasFocus = &control == focused;
    const unsigned dim = control.Enabled() ? kAttrNone : kAttrDim;
    int mnemonic = -1;
    std::wstring text = ShownText(control.text, &mnemonic);

    switch (control.cls) {
      case ControlClass::Static: {
        if ((control.style & SS_TYPEMASK) == SS_BITMAP) {
          // No image to show; a tool-tip's anchor shows the information sign (F1 shows the
          // tip), after a label that runs into its cells.
          if (control.toolTip.empty()) break;
          int at = cells.col;
          while (at < clientEnd &&
                 (canvas.at(cells.row, at).ch != L' ' || canvas.at(cells.row, at).trailing)) {
            ++at;
          }
          if (at > cells.col) ++at;
          canvas.Put(cells.row, at, L"(i)", kAttrBold, clientEnd);
          break;
        }
        // A left-aligned label may run past its rectangle: the terminal's cells are coarser
        // than the desktop's pixels.
        DWORD align = control.style & SS_TYPEMASK;
        int clip = align == SS_LEFT ? clientEnd : std::min(clientEnd, cells.col + cells.cols);
        int start = AlignedStart(cells.col, cells.cols, TextWidth(text), control.style);
        PutLabel(canvas, cells.row, start, text, mnemonic, dim, clip);
        break;
      }
      case ControlClass::Button: {
        if (control.IsGroupBox()) {
          int boxBottom = cells.row + cells.rows - 1;
          canvas.Box(cells.row, cells.col, std::max(boxBottom, cells.row + 1),
                     cells.col + cells.cols - 1, L"", dim, false);
          if (!text.empty()) {
            int end = cells.col + cells.cols - 1;
            int at = canvas.Put(cells.row, cells.col + 1, L" ", dim, end);
            at = PutLabel(canvas, cells.row, at, text, mnemonic, dim, end);
            canvas.Put(cells.row, at, L" ", dim, end);
          }
        } else if (control.IsRadioButton()) {
          std::wstring mark = control.check == BST_CHECKED ? L"(•) " : L"( ) ";
          int at = canvas.Put(cells.row, cells.col, mark, dim, clientEnd);
          PutLabel(canvas, cells.row, at, text, mnemonic, dim | (hasFocus ? kAttrReverse : 0),
                   clientEnd);
          if (hasFocus) caret = Caret{cells.row, cells.col + 1};
        } else {
          const bool isDefault = &control == defaultButton;
          std::wstring open = isDefault ? L"[>" : L"[ ";
          std::wstring close = isDefault ? L"<]" : L" ]";
          int width = TextWidth(text) + 4;
          int start = cells.col + (cells.cols - width) / 2;
          // A caption wider than the button grows it, inside the frame.
          start = std::max(originCol, std::min(start, clientEnd - width));
          unsigned attr = dim | (isDefault ? kAttrBold : 0) | (hasFocus ? kAttrReverse : 0);
          int at = canvas.Put(cells.row, start, open, attr, clientEnd);
          int after = PutLabel(canvas, cells.row, at, text, mnemonic, attr, clientEnd);
          canvas.Put(cells.row, after, close, attr, clientEnd);
          if (hasFocus) caret = Caret{cells.row, at};
        }
        break;
      }
      case ControlClass::Edit:
        if (auto at =
                PaintEditField(canvas, cells, control.text, control.Anchor(), control.Caret(),
                               control.style, control.Enabled(), hasFocus, scroll_[control.handle]))
          caret = at;
        break;
      case ControlClass::Progress: {
        int span = std::max(1, control.high - control.low);
        int done = std::clamp(control.pos - control.low, 0, span);
        int filled = done * cells.cols / span;
        for (int row = cells.row; row < cells.row + cells.rows; ++row) {
          canvas.Fill(row, cells.col, filled, L'█', dim);
          canvas.Fill(row, cells.col + filled, cells.cols - filled, L'░', dim);
        }
        break;
      }
    }
  }
  return caret;
}

}  // namespace winport
