#include "tools/viewer/line_reader.h"

namespace viewer {

std::optional<RawLine> LineReader::Next() {
  std::streambuf* buffer = in_.rdbuf();
  if (buffer == nullptr) return std::nullopt;
  RawLine line;
  bool any = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) break;
    any = true;
    if (c == '\n') {
      line.ended = true;
      break;
    }
    if (line.text.size() == kMaxLineBytes) {
      line.tooLong = true;
      break;
    }
    line.text += static_cast<char>(c);
  }
  if (!any) return std::nullopt;
  if (line.ended && !line.text.empty() && line.text.back() == '\r') {
    line.text.pop_back();
    line.crlf = true;
  }
  line.number = ++number_;
  return line;
}

}  // namespace viewer
