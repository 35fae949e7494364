// Per-rate, per-business-type sales figures filled by ClRuleShohizeiShinkoku::SumTax.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StTAXREPORTBUSINESSTYPEINFO {
  std::int32_t rate;           // 0: hundredths of a percent, set by the caller
  std::uint8_t reduced;        // 4: 1 for the reduced rate, set by the caller
  std::uint8_t businessType;   // 5: 1 first ... 6 sixth, set by the caller
  std::uint8_t reserved6[2];
  std::int64_t amounts[6];     // 8, 16, 24, 32, 40, 48: filled by SumTax
  std::uint8_t reserved56[8];
};
#pragma pack(pop)

static_assert(sizeof(StTAXREPORTBUSINESSTYPEINFO) == 64);
static_assert(offsetof(StTAXREPORTBUSINESSTYPEINFO, businessType) == 5);
static_assert(offsetof(StTAXREPORTBUSINESSTYPEINFO, amounts) == 8);
