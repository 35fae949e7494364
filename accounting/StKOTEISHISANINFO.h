// The business core's record of one fixed asset, filled by ClRuleGenkashokyaku::Move.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StKOTEISHISANINFO {
  std::int32_t assetNo;  // 0
  char name[40];         // 4: code page 932
  std::int32_t date;     // 44: acquisition date, YYYYMMDD
  std::int32_t kind;     // 48: 9 = deferred asset
  std::uint8_t reserved52[316];
  std::int64_t amount;  // 368: acquisition amount, ten-thousandths of a yen
  std::uint8_t reserved376[152];
  std::int16_t incomeCategory;  // 528: 1 business, 2 real estate
  std::uint8_t reserved530[15];
};
#pragma pack(pop)

static_assert(sizeof(StKOTEISHISANINFO) == 545);
static_assert(offsetof(StKOTEISHISANINFO, kind) == 48);
static_assert(offsetof(StKOTEISHISANINFO, amount) == 368);
static_assert(offsetof(StKOTEISHISANINFO, incomeCategory) == 528);

constexpr std::int32_t kAssetKindDeferred = 9;
