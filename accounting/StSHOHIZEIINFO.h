// The business core's consumption-tax settings of one company data.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StSHOHIZEIINFO {
  std::uint8_t taxationKind;      // 0: 0 exempt, 1 simplified, 2 general
  std::uint8_t reserved1;         // 1
  std::uint8_t roundingMode;      // 2: fraction rounding of amounts written in whole yen
  std::uint8_t deductionMethod;   // 3: 0 individual attribution, 1 lump-sum proportional
  std::uint8_t mainBusinessType;  // 4: 0 none, 1 to 6
  std::uint8_t taxInclusive;      // 5: not 0 when the books are kept tax-inclusive
  std::uint8_t reserved6[6];
};
#pragma pack(pop)

static_assert(sizeof(StSHOHIZEIINFO) == 12);
static_assert(offsetof(StSHOHIZEIINFO, roundingMode) == 2);
static_assert(offsetof(StSHOHIZEIINFO, deductionMethod) == 3);
static_assert(offsetof(StSHOHIZEIINFO, mainBusinessType) == 4);
static_assert(offsetof(StSHOHIZEIINFO, taxInclusive) == 5);
