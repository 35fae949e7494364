#include "tools/viewer/figures_text.h"

#include <algorithm>

namespace viewer {

namespace {

std::string PadRight(const std::string& text, std::size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

}  // namespace

std::string FiguresText(const std::vector<FigureBlock>& blocks) {
  std::string out;
  for (const FigureBlock& block : blocks) {
    std::size_t labelWidth = 0;
    std::vector<std::size_t> widths(std::max<std::size_t>(block.columns.size(), 1), 0);
    for (std::size_t c = 0; c < block.columns.size(); ++c) widths[c] = block.columns[c].size();
    for (const FigureRow& row : block.rows) {
      labelWidth = std::max(labelWidth, row.label.size());
      for (std::size_t c = 0; c < row.cells.size() && c < widths.size(); ++c) {
        widths[c] = std::max(widths[c], row.cells[c].size());
      }
    }
    out += "\n【" + block.title + "】\n";
    if (!block.columns.empty()) {
      out += "  " + PadRight("", labelWidth);
      for (std::size_t c = 0; c < block.columns.size(); ++c) {
        out += "  " + PadLeft(block.columns[c], widths[c]);
      }
      out += '\n';
    }
    for (const FigureRow& row : block.rows) {
      std::string line = "  " + PadRight(row.label, labelWidth);
      for (std::size_t c = 0; c < row.cells.size(); ++c) {
        // Lists keep text values as they are; the rate columns right-align the amounts.
        line += "  " + (block.columns.empty() ? row.cells[c] : PadLeft(row.cells[c], widths[c]));
      }
      line.erase(line.find_last_not_of(' ') + 1);
      out += line + '\n';
    }
  }
  return out;
}

}  // namespace viewer
