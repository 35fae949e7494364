// The figures as terminal text: each block under its title, labels in one column and values
// right-aligned under their rate. Code page 932, where a character's byte count is also its
// width on a terminal (double-byte characters are full-width, single bytes half-width), so
// padding by bytes aligns the columns; the caller converts the whole text to UTF-8.
#pragma once

#include <string>
#include <vector>

#include "tools/viewer/figure_blocks.h"

namespace viewer {

std::string FiguresText(const std::vector<FigureBlock>& blocks);

}  // namespace viewer
