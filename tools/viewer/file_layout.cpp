#include "tools/viewer/file_layout.h"

#include "aggregate/tax_totals.h"
#include "report/header_sections.h"
#include "report/refund_sections.h"

namespace viewer {

namespace {

LayoutLine Line(LineKind kind, std::string name, int depth, int owner = -1) {
  LayoutLine line{};
  line.kind = kind;
  line.name = std::move(name);
  line.depth = depth;
  line.block = owner;
  return line;
}

void AddTable(FileLayout& layout, const SectionTable& table, int depth) {
  const int owner = static_cast<int>(layout.blocks.size());
  layout.blocks.push_back({table.tag, table.label, std::nullopt, -1});
  layout.lines.push_back(Line(LineKind::kStart, table.tag, depth, owner));
  for (const SectionElement& element : table.elements) {
    LayoutLine line = Line(LineKind::kElement, element.name, depth + 1, owner);
    line.label = element.label;
    line.rule = element.rule;
    line.fixed = &element;
    layout.lines.push_back(line);
  }
  layout.lines.push_back(Line(LineKind::kEnd, table.tag, depth, owner));
}

FileLayout Build() {
  FileLayout layout;
  layout.lines.push_back(Line(LineKind::kStart, kReportTag, 0));
  AddTable(layout, SystemTable(), 1);
  AddTable(layout, BasicTable(), 1);
  layout.lines.push_back(Line(LineKind::kStart, kDataTag, 1));
  for (const CatalogueGroup& group : DataCatalogue()) {
    const int owner = static_cast<int>(layout.blocks.size());
    layout.blocks.push_back({group.id, DataSectionLabel(group.section), group.section, group.slot});
    layout.lines.push_back(Line(LineKind::kStart, group.id, 2, owner));
    for (const CatalogueElement& element : group.elements) {
      LayoutLine line = Line(LineKind::kElement, element.name, 3, owner);
      line.label = element.label;
      line.rule = ValueRule::kYen;
      line.catalogue = &element;
      layout.lines.push_back(line);
    }
    layout.lines.push_back(Line(LineKind::kEnd, group.id, 2, owner));
  }
  AddTable(layout, KanpuhTable(), 2);
  AddTable(layout, KanpukTable(), 2);
  layout.lines.push_back(Line(LineKind::kEnd, kDataTag, 1));
  layout.lines.push_back(Line(LineKind::kEnd, kReportTag, 0));
  for (const LayoutLine& line : layout.lines) layout.names.insert(line.name);
  return layout;
}

}  // namespace

const FileLayout& Layout() {
  static const FileLayout layout = Build();
  return layout;
}

std::string RowKey(const LayoutLine& line, const LayoutBlock& owner) {
  if (owner.slot < 0) return line.name;
  const std::string suffix = TaxRateTable()[static_cast<std::size_t>(owner.slot)].suffix;
  return line.name.substr(0, line.name.size() - suffix.size());
}

std::string RateLabel(int slot) {
  const TaxRateSlot& rate = TaxRateTable()[static_cast<std::size_t>(slot)];
  std::string label = std::to_string(rate.rate / 100) + "%";
  if (rate.reduced != 0) label += "軽減";
  return label;
}

}  // namespace viewer
