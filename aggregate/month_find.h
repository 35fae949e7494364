// The month find: the range of accounting months an aggregation covers, as the business core's
// find record. The run builds it from the chosen months; the engine hands it to the library and
// reads the range back from it.
#pragma once

#include <array>
#include <cstdint>

#include "accounting/StFINDINFO.h"

struct MonthFind {
  static constexpr int kCapacity = 4;

  // Entry 1: month index >= first, AND entry 2: month index <= last; then, each linked to the
  // one before by OR, month index = 15 (interim-closing adjustment) and month index = 18
  // (year-end closing adjustment) when asked. Values are 16-bit month indices (value type 2).
  static MonthFind Build(int firstIndex, int lastIndex, bool interimAdjustment,
                         bool yearEndAdjustment);

  // Value of entry 1 and of entry 2.
  int FirstIndex() const;
  int LastIndex() const;
  // Whether a third entry follows entry 2 (its link is not 0), and that entry's value.
  bool HasThirdEntry() const { return entries[1].link != kFindLinkNone; }
  int ThirdValue() const;
  // Whether the range closes the year: the third entry exists and is month 18.
  bool IncludesYearEnd() const { return HasThirdEntry() && ThirdValue() == 18; }
  // Entries in the chain, up to the first whose link is 0 (1 to kCapacity).
  int Length() const;

  const StFINDINFO* data() const { return entries.data(); }

  std::array<StFINDINFO, kCapacity> entries{};
};
