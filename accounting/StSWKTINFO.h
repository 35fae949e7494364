// The business core's record of one journal entry, filled by ClRuleShiwake::MoveNext. Amounts
// are ten-thousandths of a yen; each side carries its own tax-excluded amount and tax.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StSWKTINFO {
  std::int32_t entryNo;       // 0
  std::int32_t date;          // 4: YYYYMMDD
  std::int16_t monthIndex;    // 8: 1 to 12, 15 interim, 18 year-end adjustment
  std::int32_t rate;          // 10: hundredths of a percent
  std::uint8_t reduced;       // 14: 1 reduced rate
  std::uint8_t businessType;  // 15: 0 none, 1 to 6
  char summary[64];           // 16: description, code page 932
  std::uint8_t reserved80[8];
  std::int32_t debitAccount;   // 88
  std::int32_t debitDept;      // 92
  std::int64_t debitAmount;    // 96
  std::int64_t debitTax;       // 104
  std::uint8_t debitCategory;  // 112
  std::uint8_t reserved113[16];
  std::int32_t creditAccount;   // 129
  std::int32_t creditDept;      // 133
  std::int64_t creditAmount;    // 137
  std::int64_t creditTax;       // 145
  std::uint8_t creditCategory;  // 153
  std::uint8_t reserved154[442];
};
#pragma pack(pop)

static_assert(sizeof(StSWKTINFO) == 596);
static_assert(offsetof(StSWKTINFO, debitAccount) == 88);
static_assert(offsetof(StSWKTINFO, debitDept) == 92);
static_assert(offsetof(StSWKTINFO, debitAmount) == 96);
static_assert(offsetof(StSWKTINFO, debitTax) == 104);
static_assert(offsetof(StSWKTINFO, debitCategory) == 112);
static_assert(offsetof(StSWKTINFO, creditAccount) == 129);
static_assert(offsetof(StSWKTINFO, creditDept) == 133);
static_assert(offsetof(StSWKTINFO, creditAmount) == 137);
static_assert(offsetof(StSWKTINFO, creditTax) == 145);
static_assert(offsetof(StSWKTINFO, creditCategory) == 153);
