// The month find: the range of accounting months an aggregation covers, as the business core's
// find record. The run builds it from the chosen months; the engine hands it to the library and
// reads the range back from it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

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
  // The adjustment months (15, 18) named by the entries linked after entry 2, in chain order.
  // A six-month year with interim closing names both when the range ends with its last month.
  std::vector<int> Adjustments() const;
  // Whether any entry after entry 2 names `month`: 18 the year-end closing adjustment, 15 the
  // interim-closing adjustment.
  bool Includes(int month) const;
  // Entries in the chain, up to the first whose link is 0 (1 to kCapacity).
  int Length() const;

  const StFINDINFO* data() const { return entries.data(); }

  std::array<StFINDINFO, kCapacity> entries{};
};
