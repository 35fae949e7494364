#include "tools/viewer/comparison.h"

#include "tools/viewer/file_layout.h"
#include "tools/viewer/value_text.h"

namespace viewer {

std::vector<Difference> Compare(const CheckedFile& before, const CheckedFile& after) {
  const FileLayout& layout = Layout();
  std::vector<Difference> differences;
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    if (before.values[i] == after.values[i]) continue;
    Difference difference{i, before.values[i], after.values[i], std::nullopt};
    const ValueRule rule = layout.lines[i].rule;
    if (IsAmount(rule)) {
      const std::int64_t from = YenOf(rule, before.values[i]).value_or(0);
      const std::int64_t to = YenOf(rule, after.values[i]).value_or(0);
      std::int64_t change = 0;
      if (!__builtin_sub_overflow(to, from, &change)) difference.change = change;
    }
    differences.push_back(difference);
  }
  return differences;
}

std::string DifferencesText(const std::vector<Difference>& differences) {
  const FileLayout& layout = Layout();
  std::string out;
  for (const Difference& difference : differences) {
    const LayoutLine& line = layout.lines[difference.index];
    const LayoutBlock& owner = layout.blocks[static_cast<std::size_t>(line.block)];
    std::string where = owner.label;
    if (owner.section) where = owner.tag + " " + owner.label + " " + RateLabel(owner.slot);
    auto shown = [&](const std::string& value) {
      return value.empty() ? std::string("（空）") : ShownValue(line.fixed, line.rule, value);
    };
    out += where + "  " + line.label + " <" + line.name + ">: " + shown(difference.before) + " → " +
           shown(difference.after);
    if (difference.change) out += "（差 " + Grouped(*difference.change, true) + "）";
    out += '\n';
  }
  return out;
}

}  // namespace viewer
