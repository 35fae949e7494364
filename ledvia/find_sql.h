// Translation of a find record (StFINDINFO chain) into an SQL condition with bound
// parameters. Values are never pasted into the SQL text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "accounting/StFINDINFO.h"

namespace ledvia {

// What the condition is evaluated on; each knows its own items.
enum class FindTarget {
  kJournal,  // table journal: items 3 (tax category), 16 (account class), 17 (month index)
  // table journal_groups (entries grouped by month, categories, rate, business type): items 3
  // and 17, with the journal's column names
  kJournalGroups,
  // journal sides (columns side, category, month_index): item 3 the side's own category (side 1
  // or 2 also asks for that kind of side), item 17
  kJournalSides,
  kAccounts,  // table accounts: item 16 (class code)
  kAssets,    // table fixed_assets: item 203 (date)
};

struct SqlCondition {
  std::string sql = "1";             // a boolean SQL expression over the target's columns
  std::vector<std::int64_t> params;  // bound in order to ?first, ?first+1, ...
};

// Nesting deeper than this, chains longer than kMaxFindChain entries, and finds that expand
// to more than kMaxFindTerms conditions (groups that share their nested chains multiply) are
// refused.
constexpr int kMaxFindDepth = 8;
constexpr int kMaxFindChain = 64;
constexpr int kMaxFindTerms = 1024;

// Translates `find` (nullptr: no condition). Placeholders are numbered from `firstParam`.
// 0, or kBadFind for an item, side, operator or value type the target does not know.
int TranslateFind(const StFINDINFO* find, FindTarget target, int firstParam, SqlCondition* out);

}  // namespace ledvia
