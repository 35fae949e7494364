// Checks a linkage file against what the writers produce (file_layout.h): the declaration
// and Shift_JIS, the sections and elements in order, values the writers could write. Reads the
// input line by line and stops at the first line that leaves the rest unmatched, so an input
// of any size is read only as far as its first wrong line.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace viewer {

struct Problem {
  int line;          // 1-based
  std::string text;  // code page 932, one line
};

struct CheckedFile {
  std::vector<Problem> problems;
  // The unescaped value of each element, at its index in Layout().lines (empty elsewhere).
  std::vector<std::string> values;
  bool ok() const { return problems.empty(); }
};

// After this many problems the check stops: the file is wrong enough to be told so.
inline constexpr std::size_t kMaxProblems = 20;

CheckedFile CheckLinkageFile(std::istream& in);

}  // namespace viewer
