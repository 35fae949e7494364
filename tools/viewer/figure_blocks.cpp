#include "tools/viewer/figure_blocks.h"

#include <map>

#include "aggregate/tax_totals.h"
#include "tools/viewer/file_layout.h"
#include "tools/viewer/value_text.h"

namespace viewer {

namespace {

std::string Shown(const CheckedFile& file, std::size_t index) {
  const LayoutLine& line = Layout().lines[index];
  return ShownValue(line.fixed, line.rule, file.values[index]);
}

// The DATA groups of one section side by side: a row per element name less its rate suffix,
// in the order of the first group that has it (the 10 % group has every family).
FigureBlock SectionBlock(const CheckedFile& file, DataSection section) {
  const FileLayout& layout = Layout();
  FigureBlock block{DataSectionLabel(section), {}, {}};
  for (int slot = 0; slot < kRateSlotCount; ++slot) block.columns.push_back(RateLabel(slot));
  std::map<std::string, std::size_t> rowOf;
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const LayoutLine& line = layout.lines[i];
    if (line.kind != LineKind::kElement || line.catalogue == nullptr) continue;
    const LayoutBlock& owner = layout.blocks[static_cast<std::size_t>(line.block)];
    if (owner.section != section) continue;
    auto [row, fresh] = rowOf.emplace(RowKey(line, owner), block.rows.size());
    if (fresh) {
      block.rows.push_back(
          {line.label, std::vector<std::string>(block.columns.size(), kNoElement)});
    }
    block.rows[row->second].cells[static_cast<std::size_t>(owner.slot)] = Shown(file, i);
  }
  return block;
}

// SYSTEM, BASIC, KANPUH or KANPUK: one value per row.
FigureBlock TableBlock(const CheckedFile& file, int owner) {
  const FileLayout& layout = Layout();
  FigureBlock block{layout.blocks[static_cast<std::size_t>(owner)].label, {}, {}};
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    const LayoutLine& line = layout.lines[i];
    if (line.block == owner && line.kind == LineKind::kElement) {
      block.rows.push_back({line.label, {Shown(file, i)}});
    }
  }
  return block;
}

}  // namespace

std::vector<FigureBlock> FigureBlocks(const CheckedFile& file) {
  std::vector<FigureBlock> blocks;
  const std::vector<LayoutBlock>& owners = Layout().blocks;
  bool sectionsDone = false;
  for (std::size_t p = 0; p < owners.size(); ++p) {
    if (!owners[p].section) {
      blocks.push_back(TableBlock(file, static_cast<int>(p)));
    } else if (!sectionsDone) {
      for (int s = 0; s < kDataSectionCount; ++s) {
        blocks.push_back(SectionBlock(file, static_cast<DataSection>(s)));
      }
      sectionsDone = true;
    }
  }
  return blocks;
}

}  // namespace viewer
