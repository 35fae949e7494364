#include "winport/terminal/terminal_boxes.h"

#include <algorithm>

#include "winport/cp932.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

std::wstring IconWord(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
      return L"[エラー] ";
    case MB_ICONQUESTION:
      return L"[質問] ";
    case MB_ICONEXCLAMATION:
      return L"[警告] ";
    case MB_ICONINFORMATION:
      return L"[情報] ";
    default:
      return L"";
  }
}

// The text's lines, each cut into pieces of at most `width` columns.
std::vector<std::wstring> WrappedLines(const std::wstring& text, int width) {
  std::vector<std::wstring> lines(1);
  int used = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t ch = text[i];
    if (ch == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    if (ch == L'\n' || ch == L'\r') {
      lines.emplace_back();
      used = 0;
      continue;
    }
    int w = CellWidth(ch);
    if (used + w > width) {
      lines.emplace_back();
      used = 0;
    }
    lines.back().push_back(ch);
    used += w;
  }
  return lines;
}

// Draws a push button as the form does; returns the column after it.
int PutButton(TextCanvas& canvas, int row, int col, const std::wstring& text, int mnemonic,
              bool focused) {
  unsigned attr = focused ? kAttrBold | kAttrReverse : kAttrNone;
  int at = canvas.Put(row, col, focused ? L"[>" : L"[ ", attr);
  int end = canvas.Put(row, at, text, attr);
  if (mnemonic >= 0) {
    int x = at + TextWidth(std::wstring_view(text).substr(0, mnemonic));
    canvas.AddAttr(row, x, CellWidth(text[mnemonic]), kAttrUnderline);
  }
  return canvas.Put(row, end, focused ? L"<]" : L" ]", attr);
}

int ButtonWidth(const std::wstring& text) { return TextWidth(text) + 4; }

}  // namespace

MessageBoxView::MessageBoxView(const MessageBoxRequest& request) : request_(request) {
  auto add = [this](int id, const char* label, char letter) {
    int mnemonic = -1;
    std::wstring text = ShownText(label, &mnemonic);
    buttons_.push_back({id, text, mnemonic, letter});
  };
  switch (request.style & MB_TYPEMASK) {
    case MB_YESNO:
      add(IDYES, "はい(&Y)", 'Y');
      add(IDNO, "いいえ(&N)", 'N');
      break;
    case MB_OKCANCEL:
      add(IDOK, "OK", 0);
      add(IDCANCEL, "キャンセル", 0);
      break;
    default:
      add(IDOK, "OK", 0);
      break;
  }
}

std::optional<Caret> MessageBoxView::Paint(TextCanvas& canvas) const {
  std::wstring icon = IconWord(request_.style);
  std::wstring caption = WideFromCp932(request_.caption);
  int iconWidth = TextWidth(icon);
  int textRoom = std::max(20, canvas.cols() - 8 - iconWidth);
  std::vector<std::wstring> lines = WrappedLines(WideFromCp932(request_.text), textRoom);
  int buttonsWidth = -2;
  for (const Button& button : buttons_) buttonsWidth += ButtonWidth(button.text) + 2;
  int inner = std::max(buttonsWidth, TextWidth(caption) + 4);
  for (const std::wstring& line : lines) inner = std::max(inner, iconWidth + TextWidth(line));

  int height = static_cast<int>(lines.size()) + 5;
  int width = inner + 6;
  int top = std::max(0, (canvas.rows() - height) / 2);
  int left = std::max(0, (canvas.cols() - width) / 2);
  canvas.Box(top, left, top + height - 1, left + width - 1, caption, kAttrBold, true);
  int row = top + 2;
  canvas.Put(row, left + 3, icon, kAttrBold);
  for (const std::wstring& line : lines) canvas.Put(row++, left + 3 + iconWidth, line);
  row++;
  int col = left + 3 + (inner - buttonsWidth) / 2;
  std::optional<Caret> caret;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (i == focus_) caret = Caret{row, col + 2};
    col = PutButton(canvas, row, col, buttons_[i].text, buttons_[i].mnemonic, i == focus_) + 2;
  }
  return caret;
}

int MessageBoxView::Handle(const UiEvent& event, bool* ignored) {
  *ignored = false;
  const std::size_t count = buttons_.size();
  char letter = 0;
  if (event.kind == UiEvent::Kind::Char && event.text.size() == 1) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(event.text[0])));
    if (letter == ' ') return buttons_[focus_].id;
  } else if (event.kind == UiEvent::Kind::Key && !event.ctrl) {
    switch (event.vk) {
      case VK_TAB:
        focus_ = event.shift ? (focus_ + count - 1) % count : (focus_ + 1) % count;
        return 0;
      case VK_RIGHT:
      case VK_DOWN:
        focus_ = (focus_ + 1) % count;
        return 0;
      case VK_LEFT:
      case VK_UP:
        focus_ = (focus_ + count - 1) % count;
        return 0;
      case VK_RETURN:
      case VK_SPACE:
        return buttons_[focus_].id;
      case VK_ESCAPE:
        for (const Button& button : buttons_) {
          if (button.id == IDCANCEL) return IDCANCEL;
        }
        if (count == 1) return buttons_[0].id;
        break;
      default:
        if (event.vk >= 'A' && event.vk <= 'Z') letter = static_cast<char>(event.vk);
        break;
    }
  }
  for (const Button& button : buttons_) {
    if (letter != 0 && button.letter == letter) return button.id;
  }
  *ignored = true;
  return 0;
}

SaveFileView::SaveFileView(const SaveFileRequest& request) : request_(request) {
  path_ = SaveFileFieldText(request);
  path_.resize(cp932::CutLength(path_, MAX_PATH - 1));
  caret_ = path_.size();
}

std::size_t SaveFileView::PreviousStart(std::size_t at) const {
  if (at == 0) return 0;
  return cp932::IsTrailPosition(path_, at - 1) ? at - 2 : at - 1;
}

std::size_t SaveFileView::NextStart(std::size_t at) const {
  if (at >= path_.size()) return path_.size();
  return cp932::IsInDoubleByte(path_, at) ? at + 2 : at + 1;
}

std::optional<Caret> SaveFileView::Paint(TextCanvas& canvas) {
  int width = std::clamp(canvas.cols() - 4, 30, 76);
  int height = 9;
  int top = std::max(0, (canvas.rows() - height) / 2);
  int left = std::max(0, (canvas.cols() - width) / 2);
  int right = left + width - 1;
  canvas.Box(top, left, top + height - 1, right, WideFromCp932(request_.title), kAttrBold, true);
  canvas.Put(top + 2, left + 2, L"ファイル名:", kAttrNone, right);
  CellRect field{top + 3, left + 2, 1, width - 4};
  std::optional<Caret> caret =
      PaintEditField(canvas, field, path_, caret_, caret_, ES_LEFT, true, true, scroll_);
  std::string filter = request_.filter.substr(0, request_.filter.find('|'));
  canvas.Put(top + 4, left + 2, L"ファイルの種類: " + WideFromCp932(filter), kAttrNone, right);
  canvas.Put(top + 6, left + 2, L"Enter: 保存   Esc: キャンセル", kAttrDim, right);
  return caret;
}

bool SaveFileView::Handle(const UiEvent& event, std::optional<std::string>* result, bool* ignored) {
  *ignored = false;
  if (event.kind == UiEvent::Kind::Char) {
    if (path_.size() + event.text.size() > MAX_PATH - 1) {
      *ignored = true;
      return false;
    }
    path_.insert(caret_, event.text);
    caret_ += event.text.size();
    return false;
  }
  if (event.kind != UiEvent::Kind::Key || event.ctrl || event.alt) {
    *ignored = true;
    return false;
  }
  switch (event.vk) {
    case VK_RETURN: {
      // A name with a wildcard filters the list in the desktop dialog; it names no file.
      std::size_t slash = cp932::FindLastChar(path_, '\\');
      std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
      if (name.empty() || cp932::FindChar(name, '*') != std::string::npos ||
          cp932::FindChar(name, '?') != std::string::npos) {
        *ignored = true;
        return false;
      }
      *result = path_;
      return true;
    }
    case VK_ESCAPE:
      *result = std::nullopt;
      return true;
    case VK_BACK:
      if (caret_ == 0) break;
      {
        std::size_t from = PreviousStart(caret_);
        path_.erase(from, caret_ - from);
        caret_ = from;
      }
      return false;
    case VK_DELETE:
      if (caret_ >= path_.size()) break;
      path_.erase(caret_, NextStart(caret_) - caret_);
      return false;
    case VK_LEFT:
      caret_ = PreviousStart(caret_);
      return false;
    case VK_RIGHT:
      caret_ = NextStart(caret_);
      return false;
    case VK_HOME:
      caret_ = 0;
      return false;
    case VK_END:
      caret_ = path_.size();
      return false;
    default:
      break;
  }
  *ignored = true;
  return false;
}

}  // namespace winport
