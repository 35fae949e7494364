#include "winport/terminal/terminal_canvas.h"

#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <cwchar>

#include "winport/encoding.h"

namespace winport {

int CellWidth(wchar_t ch) {
  int width = ::wcwidth(ch);
  if (width < 0) return 1;  // shown as '?' by TextCanvas::Put
  return width;
}

int TextWidth(std::wstring_view text) {
  int width = 0;
  for (wchar_t ch : text) width += CellWidth(ch);
  return width;
}

std::wstring WideFromUtf8(std::string_view utf8) {
  std::wstring out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    char32_t code = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + extra < utf8.size();
    for (int k = 1; ok && k <= extra; ++k) {
      unsigned char c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      code = (code << 6) | (c & 0x3F);
    }
    if (!ok) {
      out.push_back(L'\uFFFD');
      ++i;
      continue;
    }
    out.push_back(static_cast<wchar_t>(code));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  for (wchar_t wc : text) {
    auto c = static_cast<char32_t>(wc);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::wstring WideFromCp932(std::string_view cp932) { return WideFromUtf8(Cp932ToUtf8(cp932)); }

bool UseUtf8Ctype() {
  auto isUtf8 = [] {
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0);
  };
  if (std::setlocale(LC_CTYPE, "") != nullptr && isUtf8()) return true;
  return std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr && isUtf8();
}

TextCanvas::TextCanvas(int rows, int cols)
    : rows_(std::max(rows, 0)), cols_(std::max(cols, 0)), cells_(rows_ * cols_) {}

void TextCanvas::Set(int row, int col, wchar_t ch, unsigned attr, bool trailing) {
  if (!Inside(row, col)) return;
  Cell& cell = cells_[Index(row, col)];
  // Never leave half of a double-width character behind.
  if (cell.trailing && col > 0) cells_[Index(row, col - 1)] = Cell{};
  if (!cell.trailing && col + 1 < cols_ && cells_[Index(row, col + 1)].trailing)
    cells_[Index(row, col + 1)] = Cell{};
  cell = Cell{ch, attr, trailing};
}

int TextCanvas::Put(int row, int col, std::wstring_view text, unsigned attr, int clipCol) {
  int limit = clipCol < 0 ? cols_ : std::min(clipCol, cols_);
  for (wchar_t ch : text) {
    if (::wcwidth(ch) < 0) ch = L'?';
    int width = CellWidth(ch);
    if (width == 0) continue;  // combining marks have no cell of their own here
    if (col >= limit) return col + width;
    if (col + width > limit) {
      Set(row, col, L' ', attr, false);
      return col + width;
    }
    if (col >= 0) {
      Set(row, col, ch, attr, false);
      if (width == 2) Set(row, col + 1, L' ', attr, true);
    } else if (col + width > 0) {
      Set(row, 0, L' ', attr, false);  // the right half of a character cut at the left edge
    }
    col += width;
  }
  return col;
}

void TextCanvas::Fill(int row, int col, int count, wchar_t ch, unsigned attr) {
  for (int i = 0; i < count; ++i) Set(row, col + i, ch, attr, false);
}

void TextCanvas::AddAttr(int row, int col, int count, unsigned attr) {
  for (int i = 0; i < count; ++i) {
    if (Inside(row, col + i)) cells_[Index(row, col + i)].attr |= attr;
  }
}

void TextCanvas::Box(int top, int left, int bottom, int right, std::wstring_view title,
                     unsigned attr, bool clear) {
  if (bottom <= top || right <= left) return;
  if (clear) {
    for (int row = top + 1; row < bottom; ++row) Fill(row, left + 1, right - left - 1, L' ');
  }
  Fill(top, left + 1, right - left - 1, L'─', attr);
  Fill(bottom, left + 1, right - left - 1, L'─', attr);
  for (int row = top + 1; row < bottom; ++row) {
    Set(row, left, L'│', attr, false);
    Set(row, right, L'│', attr, false);
  }
  Set(top, left, L'┌', attr, false);
  Set(top, right, L'┐', attr, false);
  Set(bottom, left, L'└', attr, false);
  Set(bottom, right, L'┘', attr, false);
  if (!title.empty()) {
    std::wstring framed = L" " + std::wstring(title) + L" ";
    Put(top, left + 2, framed, attr, right - 1);
  }
}

std::wstring TextCanvas::RowText(int row) const {
  std::wstring text;
  if (row < 0 || row >= rows_) return text;
  for (int col = 0; col < cols_; ++col) {
    const Cell& cell = at(row, col);
    if (!cell.trailing) text.push_back(cell.ch);
  }
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text;
}

}  // namespace winport
