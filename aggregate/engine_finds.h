// The finds the engine builds around the month find. The business core keeps a nested chain in
// the same array as the entry that names it (a forward distance, see SetFindNested), so each
// composite find is one array holding its own conditions and a copy of the month find.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "accounting/StFINDINFO.h"
#include "aggregate/month_find.h"

// A find of `N` entries in one array; the chain starts at the first entry.
template <std::size_t N>
struct FindArray {
  const StFINDINFO* data() const { return entries.data(); }
  std::array<StFINDINFO, N> entries{};
};

// Entries of the chain nested at `entries[at]` (an item-999 entry).
inline const StFINDINFO* NestedChain(const StFINDINFO* entries, std::size_t at) {
  return entries + at + entries[at].nested;
}

// Journal entries of the month range with a debit or credit tax category from 31 to 37
// (unsplit import payments): (debit >= 31 AND debit <= 37) OR (credit >= 31 AND credit <= 37),
// AND the month find.
using ImportCheckFind = FindArray<6 + MonthFind::kCapacity>;
ImportCheckFind BuildImportCheckFind(const MonthFind& months);

// Journal entries of the month range with at least one side whose tax category is in the
// non-taxable-purchase set (below 21, 24, 30 and above): ((debit < 21 OR debit = 24 OR
// debit >= 30) OR (the same on the credit side)) AND the month find. An entry whose sides both
// carry taxable-purchase categories is not found.
using JournalFind = FindArray<10 + MonthFind::kCapacity>;
JournalFind BuildJournalFind(const MonthFind& months);

// Journal sides (for ClRuleShiwake's side sums) of the month range whose own tax category is in
// the non-taxable-purchase set: (category < 21 OR category = 24 OR category >= 30) AND the
// month find. Such a side's entry is always one BuildJournalFind finds.
using NonTaxableSideFind = FindArray<5 + MonthFind::kCapacity>;
NonTaxableSideFind BuildNonTaxableSideFind(const MonthFind& months);

// Fixed assets dated from `startDate` to `endDate` (YYYYMMDD), both included.
using AssetFind = FindArray<2>;
AssetFind BuildAssetFind(std::int32_t startDate, std::int32_t endDate);

// Accounts whose classification code equals one of `codes`, in that order, linked by OR.
std::vector<StFINDINFO> BuildClassificationFind(std::span<const std::uint32_t> codes);
