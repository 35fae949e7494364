// The linkage-file viewer's reader over any input, and, for an input that passes its check,
// everything the viewer draws from it.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tools/viewer/comparison.h"
#include "tools/viewer/figure_blocks.h"
#include "tools/viewer/figures_page.h"
#include "tools/viewer/figures_text.h"
#include "tools/viewer/file_layout.h"
#include "tools/viewer/linkage_check.h"
#include "winport/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::istringstream in(input);
  const viewer::CheckedFile file = viewer::CheckLinkageFile(in);
  // One line per problem, in code page 932, on a line the input has (or just past its end),
  // in order, and never more than the limit and its closing note.
  fuzzsupport::Require(file.problems.size() <= viewer::kMaxProblems + 1);
  const int lines = static_cast<int>(std::count(input.begin(), input.end(), '\n')) + 1;
  int previous = 1;
  for (const viewer::Problem& problem : file.problems) {
    fuzzsupport::Require(problem.line >= previous && problem.line <= lines + 1);
    fuzzsupport::Require(problem.text.find_first_of("\r\n") == std::string::npos);
    fuzzsupport::Require(winport::cp932::ReplaceMalformed(problem.text) == problem.text);
    previous = problem.line;
  }
  fuzzsupport::Require(file.values.size() == viewer::Layout().lines.size());
  if (!file.ok()) return 0;
  // A file that passes is shown, compared and drawn whatever its values.
  fuzzsupport::Require(!viewer::FiguresText(viewer::FigureBlocks(file)).empty());
  fuzzsupport::Require(viewer::Compare(file, file).empty());
  const std::string page = viewer::FiguresPage(file, "fuzz");
  fuzzsupport::Require(page.find("</html>") != std::string::npos);
  return 0;
}
