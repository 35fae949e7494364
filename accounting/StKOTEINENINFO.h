// The business core's yearly depreciation record of a fixed asset; ClRuleGenkashokyaku::Move
// fills it alongside StKOTEISHISANINFO. The program reads none of its fields.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StKOTEINENINFO {
  std::int32_t assetNo;  // 0
  std::uint8_t reserved4[956];
};
#pragma pack(pop)

static_assert(sizeof(StKOTEINENINFO) == 960);
