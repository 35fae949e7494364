// Per-rate consumption-tax return figures filled by ClRuleShohizeiShinkoku::SumTax.
#pragma once

#include <cstddef>
#include <cstdint>
#include "accounting/packed_field.h"

#pragma pack(push, 1)
struct StTAXREPORTRATEINFO {
  std::int32_t rate;     // 0: hundredths of a percent (1000 = 10 %), set by the caller
  std::uint8_t reduced;  // 4: 1 for the reduced rate, set by the caller
  std::uint8_t reserved5[4];
  // 9, 17, ... 441: the 55 return figures (sales, purchases, returns, imports, bad debts), in
  // ten-thousandths of a yen, filled by SumTax.
  std::int64_t amounts[55];
  std::int64_t reserved449[3];  // 449, 457, 465: the business core's own figures
  std::uint8_t reserved473[4];
  std::int64_t importLocalTax;        // 477: local tax on import purchases
  std::int64_t importReturnLocalTax;  // 485: local tax on returns of import purchases
  std::uint8_t reserved493[4];

  static constexpr std::size_t kFirstAmountOffset = 9;
  static constexpr std::size_t kAmountCount = 55;
  static constexpr std::size_t kImportLocalTaxOffset = 477;
  static constexpr std::size_t kImportReturnLocalTaxOffset = 485;

  // The amount stored at byte offset `offset` (9, 17, ... 441, 477, 485). Copies through
  // memcpy: the record is byte-packed, so the fields are not aligned.
  std::int64_t AmountAt(std::size_t offset) const { return ReadPacked<std::int64_t>(this, offset); }
  void SetAmountAt(std::size_t offset, std::int64_t value) { WritePacked(this, offset, value); }
};
#pragma pack(pop)

static_assert(sizeof(StTAXREPORTRATEINFO) == 497);
static_assert(offsetof(StTAXREPORTRATEINFO, reduced) == 4);
static_assert(offsetof(StTAXREPORTRATEINFO, amounts) == 9);
static_assert(offsetof(StTAXREPORTRATEINFO, reserved449) == 449);
static_assert(offsetof(StTAXREPORTRATEINFO, importLocalTax) ==
              StTAXREPORTRATEINFO::kImportLocalTaxOffset);
static_assert(offsetof(StTAXREPORTRATEINFO, importReturnLocalTax) ==
              StTAXREPORTRATEINFO::kImportReturnLocalTaxOffset);
