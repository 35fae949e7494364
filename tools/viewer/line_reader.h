// Lines of a file of any size, one at a time and never more than a bounded line at once, so a
// reader of a huge or endless input stops where it chooses and never holds it whole.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

namespace viewer {

struct RawLine {
  int number = 0;      // 1-based
  std::string text;    // without the line end; at most kMaxLineBytes
  bool crlf = false;   // ended by CR LF
  bool ended = false;  // ended by LF (false for the last line of a file without one)
  bool tooLong = false;
};

class LineReader {
 public:
  // Longer than any line the writers produce (a value is at most a few hundred bytes).
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  explicit LineReader(std::istream& in) : in_(in) {}
  // The next line; nullopt at the end of the input. A line past kMaxLineBytes comes back cut
  // with tooLong set, and the rest of it is left unread.
  std::optional<RawLine> Next();
  int linesRead() const { return number_; }

 private:
  std::istream& in_;
  int number_ = 0;
};

}  // namespace viewer
