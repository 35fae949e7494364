#include "tools/viewer/linkage_check.h"

#include <optional>
#include <string_view>

#include "report/report_writer.h"
#include "tools/viewer/file_layout.h"
#include "tools/viewer/line_reader.h"
#include "tools/viewer/value_text.h"
#include "winport/cp932.h"

namespace viewer {

namespace {

struct ParsedLine {
  LineKind kind;
  std::string name;
  std::string_view value;
  int depth;
};

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (!IsNameChar(c)) return false;
  }
  return true;
}

// One of the three line shapes the writers build: <NAME>, </NAME>, <NAME>value</NAME>, after
// the indenting tabs. Attributes, self-closing tags and anything else are no such line.
std::optional<ParsedLine> Parse(std::string_view text) {
  const std::size_t depth = text.find_first_not_of('\t');
  if (depth == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(depth);
  if (rest.size() < 3 || rest.front() != '<' || rest.back() != '>') return std::nullopt;
  ParsedLine line{LineKind::kStart, "", {}, static_cast<int>(depth)};
  if (rest[1] == '/') {
    line.kind = LineKind::kEnd;
    line.name = rest.substr(2, rest.size() - 3);
    return IsName(line.name) ? std::optional(line) : std::nullopt;
  }
  const std::size_t close = rest.find('>');
  line.name = rest.substr(1, close - 1);
  if (!IsName(line.name)) return std::nullopt;
  if (close == rest.size() - 1) return line;
  const std::string endTag = "</" + line.name + ">";
  rest.remove_prefix(close + 1);
  if (rest.size() < endTag.size() || rest.substr(rest.size() - endTag.size()) != endTag) {
    return std::nullopt;
  }
  line.kind = LineKind::kElement;
  line.value = rest.substr(0, rest.size() - endTag.size());
  if (line.value.find('<') != std::string_view::npos) return std::nullopt;
  return line;
}

// Multi-byte UTF-8 and nothing else: what an editor that re-saved the file as UTF-8 leaves.
// Shift_JIS text is almost never valid UTF-8, since its lead bytes 0x81-0x9F are UTF-8
// continuation bytes and its second bytes are often ASCII.
bool IsUtf8Text(std::string_view text) {
  bool multiByte = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80                ? 0
                      : c >= 0xC2 && c < 0xE0 ? 1
                      : c >= 0xE0 && c < 0xF0 ? 2
                      : c >= 0xF0 && c < 0xF5 ? 3
                                              : -1;
    if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    multiByte = multiByte || extra > 0;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return multiByte;
}

std::string Tag(const LayoutLine& line) {
  return (line.kind == LineKind::kEnd ? "</" : "<") + line.name + ">";
}

// A piece of the file quoted in a message: short, and always printable code page 932.
std::string Quoted(std::string_view text) {
  const std::size_t keep = winport::cp932::CutLength(text, 40);
  std::string quoted = winport::cp932::ReplaceMalformed(text.substr(0, keep));
  for (char& c : quoted) {
    // A carriage return or another control character would break the one line.
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = '?';
  }
  return "「" + quoted + (keep < text.size() ? "…" : "") + "」";
}

class Checker {
 public:
  explicit Checker(std::istream& in) : reader_(in) { file_.values.resize(layout_.lines.size()); }

  CheckedFile Run() {
    std::optional<RawLine> first = reader_.Next();
    if (!first) {
      Report(1, "ファイルが空です（連動ファイルではありません）");
      return file_;
    }
    if (!Declaration(*first)) return file_;
    while (std::optional<RawLine> line = reader_.Next()) {
      if (!Line(*line) || file_.problems.size() > kMaxProblems) return file_;
    }
    if (next_ < layout_.lines.size()) {
      Report(reader_.linesRead() + 1,
             "ファイルが途中で終わっています（" + Tag(layout_.lines[next_]) + " があるはずです）");
    }
    return file_;
  }

 private:
  void Report(int line, std::string text) {
    if (file_.problems.size() > kMaxProblems) return;
    if (file_.problems.size() == kMaxProblems) text = "問題が多いため、ここで確認をやめました";
    file_.problems.push_back({line, std::move(text)});
  }

  void LineEnd(const RawLine& line) {
    if (lineEndReported_ || line.crlf || line.tooLong) return;
    lineEndReported_ = true;
    Report(line.number, line.ended ? "行末が CR LF ではなく LF だけです"
                                   : "最後の行に行末（CR LF）がありません");
  }

  bool Declaration(const RawLine& line) {
    const std::string_view expected = kXmlDeclaration.substr(0, kXmlDeclaration.size() - 2);
    std::string_view text = line.text;
    if (text.starts_with("\xEF\xBB\xBF")) {
      Report(1, "UTF-8 の BOM があります（連動ファイルは Shift_JIS です）");
      text.remove_prefix(3);
    }
    LineEnd(line);
    if (text == expected) return true;
    if (!text.starts_with("<?xml")) {
      Report(1, "XML 宣言がありません（連動ファイルではありません）");
      return false;
    }
    if (text.find("Shift_JIS") == std::string_view::npos) {
      Report(1, "文字コードの宣言が Shift_JIS ではありません: " + Quoted(text));
    } else {
      Report(1, "XML 宣言が連動ファイルのものと違います: " + Quoted(text));
    }
    return true;
  }

  bool Line(const RawLine& raw) {
    if (raw.tooLong) {
      Report(raw.number, "行が長すぎます（" + std::to_string(LineReader::kMaxLineBytes) +
                             " バイトを超えています）");
      return false;
    }
    if (next_ == layout_.lines.size()) {
      Report(raw.number, "</REPORT> の後に余分な内容があります");
      return false;
    }
    const LayoutLine& expected = layout_.lines[next_];
    if (IsUtf8Text(raw.text)) {
      Report(raw.number, "UTF-8 の文字があります（連動ファイルは Shift_JIS です）");
    } else if (winport::cp932::ReplaceMalformed(raw.text) != raw.text) {
      Report(raw.number, "Shift_JIS にない文字があります");
    }
    std::optional<ParsedLine> line = Parse(raw.text);
    const bool whole = line && line->name == expected.name && line->kind == expected.kind;
    if (!raw.ended && !whole) {
      Report(raw.number,
             "ファイルが行の途中で終わっています（" + Tag(expected) + " があるはずです）");
      return false;
    }
    LineEnd(raw);
    if (!line) {
      Report(raw.number, "連動ファイルの行の形ではありません: " + Quoted(raw.text) + "（" +
                             Tag(expected) + " があるはずです）");
      return false;
    }
    if (line->name != expected.name || line->kind != expected.kind) {
      const std::string where = "（ここには " + Tag(expected) + " があるはずです）";
      if (line->name == expected.name) {
        Report(raw.number, "<" + line->name + "> の行の形が違います" + where);
      } else if (layout_.names.count(line->name) != 0) {
        Report(raw.number, "<" + line->name + "> の位置が違います" + where);
      } else {
        Report(raw.number, "<" + line->name + "> は連動ファイルにない要素です" + where);
      }
      return false;
    }
    if (line->depth != expected.depth) {
      Report(raw.number, Tag(expected) + " の字下げがタブ " + std::to_string(expected.depth) +
                             " 個ではありません");
    }
    if (expected.kind == LineKind::kElement) Value(raw.number, expected, line->value);
    ++next_;
    return true;
  }

  void Value(int number, const LayoutLine& expected, std::string_view text) {
    std::optional<std::string> value = Unescape(text);
    if (!value) {
      Report(number, "<" + expected.name + "> の値に読めない & があります: " + Quoted(text));
      return;
    }
    if (std::optional<std::string> why = ValueProblem(expected.rule, *value)) {
      Report(number, "<" + expected.name + "> の値" + Quoted(*value) + "は" + *why);
    }
    file_.values[next_] = std::move(*value);
  }

  const FileLayout& layout_ = Layout();
  LineReader reader_;
  CheckedFile file_;
  std::size_t next_ = 0;
  bool lineEndReported_ = false;
};

}  // namespace

CheckedFile CheckLinkageFile(std::istream& in) { return Checker(in).Run(); }

}  // namespace viewer
