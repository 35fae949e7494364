#include "aggregate/month_find.h"

#include <utility>

namespace {

// Month indices are 16-bit values in the find's 32-bit field.
int MonthValue(const StFINDINFO& entry) { return static_cast<std::int16_t>(entry.value & 0xffff); }

}  // namespace

MonthFind MonthFind::Build(int firstIndex, int lastIndex, bool interimAdjustment,
                           bool yearEndAdjustment) {
  MonthFind find;
  SetFindCondition(find.entries[0], kFindItemMonth, 0, kFindOpGreaterEqual, kFindValueMonth,
                   static_cast<std::int16_t>(firstIndex));
  find.entries[0].link = kFindLinkAnd;
  SetFindCondition(find.entries[1], kFindItemMonth, 0, kFindOpLessEqual, kFindValueMonth,
                   static_cast<std::int16_t>(lastIndex));
  std::size_t last = 1;
  const std::pair<bool, int> adjustments[] = {{interimAdjustment, 15}, {yearEndAdjustment, 18}};
  for (auto [wanted, month] : adjustments) {
    if (!wanted) continue;
    find.entries[last].link = kFindLinkOr;
    ++last;
    SetFindCondition(find.entries[last], kFindItemMonth, 0, kFindOpEqual, kFindValueMonth, month);
  }
  return find;
}

int MonthFind::FirstIndex() const { return MonthValue(entries[0]); }
int MonthFind::LastIndex() const { return MonthValue(entries[1]); }

std::vector<int> MonthFind::Adjustments() const {
  std::vector<int> months;
  for (int i = 2; i < Length(); ++i)
    months.push_back(MonthValue(entries[static_cast<std::size_t>(i)]));
  return months;
}

bool MonthFind::Includes(int month) const {
  for (int adjustment : Adjustments()) {
    if (adjustment == month) return true;
  }
  return false;
}

int MonthFind::Length() const {
  int length = 1;
  while (length < kCapacity && entries[static_cast<std::size_t>(length - 1)].link != 0) ++length;
  return length;
}
