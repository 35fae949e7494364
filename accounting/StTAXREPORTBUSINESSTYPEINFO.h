// Per-rate, per-business-type sales figures filled by ClRuleShohizeiShinkoku::SumTax.
#pragma once

#include <cstddef>
#include <cstdint>
#include "accounting/packed_field.h"

#pragma pack(push, 1)
struct StTAXREPORTBUSINESSTYPEINFO {
  std::int32_t rate;          // 0: hundredths of a percent, set by the caller
  std::uint8_t reduced;       // 4: 1 for the reduced rate, set by the caller
  std::uint8_t businessType;  // 5: 1 first ... 6 sixth, set by the caller
  std::uint8_t reserved6[2];
  std::int64_t amounts[6];  // 8, 16, 24, 32, 40, 48: filled by SumTax
  std::uint8_t reserved56[8];

  // The amount stored at byte offset `offset` (8, 16, ... 48). Copies through memcpy: the
  // record is byte-packed, so the fields are not aligned.
  std::int64_t AmountAt(std::size_t offset) const { return ReadPacked<std::int64_t>(this, offset); }
  void SetAmountAt(std::size_t offset, std::int64_t value) { WritePacked(this, offset, value); }
};
#pragma pack(pop)

static_assert(sizeof(StTAXREPORTBUSINESSTYPEINFO) == 64);
static_assert(offsetof(StTAXREPORTBUSINESSTYPEINFO, businessType) == 5);
static_assert(offsetof(StTAXREPORTBUSINESSTYPEINFO, amounts) == 8);
