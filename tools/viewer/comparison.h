// Two checked linkage files element by element: both follow the one layout, so the same
// position holds the same element, and only the values can differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/viewer/linkage_check.h"

namespace viewer {

struct Difference {
  std::size_t index;  // into Layout().lines
  std::string before;
  std::string after;
  std::optional<std::int64_t> change;  // amounts: after less before, an empty value as zero
};

std::vector<Difference> Compare(const CheckedFile& before, const CheckedFile& after);

// One line per difference, with where the element sits, its label and name, both values as
// shown and the change: code page 932.
std::string DifferencesText(const std::vector<Difference>& differences);

}  // namespace viewer
