// The linkage file as the writers produce it, line by line: the declaration, then every start
// tag, element and end tag in write order, built from the writers' own tables (SYSTEM, BASIC,
// the DATA catalogue, KANPUH, KANPUK). The viewer checks a file against this sequence and
// keeps each element's value at its position, so two files compare position by position.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "report/data_catalogue.h"
#include "report/section_table.h"

namespace viewer {

enum class LineKind { kStart, kElement, kEnd };

// What a person reads as one block: SYSTEM, BASIC, one DATA group, KANPUH or KANPUK.
struct LayoutBlock {
  std::string tag;
  std::string label;                   // code page 932
  std::optional<DataSection> section;  // DATA groups only
  int slot = -1;                       // DATA groups: rate slot 0..4 (10, 8K, 8, 5, 3)
};

struct LayoutLine {
  LineKind kind;
  std::string name;
  int depth;
  int block = -1;  // index into FileLayout::blocks; -1 for REPORT and DATA
  // Elements only: what the writers may write and how a person reads it.
  std::string label;  // code page 932
  ValueRule rule = ValueRule::kText;
  const SectionElement* fixed = nullptr;        // SYSTEM, BASIC, KANPUH, KANPUK
  const CatalogueElement* catalogue = nullptr;  // DATA groups
};

struct FileLayout {
  std::vector<LayoutLine> lines;  // after the declaration line
  std::vector<LayoutBlock> blocks;
  std::unordered_set<std::string> names;  // every tag and element name of the file
};

const FileLayout& Layout();

// The element name without its group's rate suffix: one row of a section across the rates.
std::string RowKey(const LayoutLine& line, const LayoutBlock& owner);

// "10%", "8%軽減", ... for a rate slot (code page 932).
std::string RateLabel(int slot);

}  // namespace viewer
