// The figures of a checked linkage file as a person reads them: one block per section (SYSTEM,
// BASIC, each DATA section with one column per rate, KANPUH, KANPUK), each row a labelled
// element with its value as shown. The terminal text and the HTML page both draw these.
#pragma once

#include <string>
#include <vector>

#include "tools/viewer/linkage_check.h"

namespace viewer {

struct FigureRow {
  std::string label;               // code page 932
  std::vector<std::string> cells;  // one per column; "-" where the rate has no such element
};

struct FigureBlock {
  std::string title;                 // code page 932
  std::vector<std::string> columns;  // the rates; empty for a block of one value per row
  std::vector<FigureRow> rows;
};

// Needs a file that passed the check.
std::vector<FigureBlock> FigureBlocks(const CheckedFile& file);

// Where a rate has no element of a row.
inline constexpr const char* kNoElement = "-";

}  // namespace viewer
