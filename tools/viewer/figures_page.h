// The figures as one self-contained HTML page (UTF-8, inline style and SVG, nothing fetched):
// charts of taxable sales, purchases and their tax per rate and of the refund statement's
// amounts, then the tables of every section; laid out to print on A4.
#pragma once

#include <string>

#include "tools/viewer/linkage_check.h"

namespace viewer {

// `title` is the file's name as given (UTF-8). Needs a file that passed the check.
std::string FiguresPage(const CheckedFile& file, const std::string& title);

}  // namespace viewer
