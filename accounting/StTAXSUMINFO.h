// The business core's tax sum of one account at one rate, filled by ClRuleShohizei::MoveNext.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StTAXSUMINFO {
  char codeText[16];         // 0: account code text, NUL-terminated
  std::int32_t accountCode;  // 16
  char name[48];             // 20
  std::uint8_t reserved68[498];
  std::int64_t debitAmount;   // 566: debit side, tax-excluded or tax-included as asked
  std::int64_t creditAmount;  // 574
  std::int64_t debitTax;      // 582
  std::int64_t creditTax;     // 590
  std::int64_t amount;        // 598: debit minus credit, as asked (see MoveReady)
  std::uint8_t reserved606[220];
};
#pragma pack(pop)

static_assert(sizeof(StTAXSUMINFO) == 826);
static_assert(offsetof(StTAXSUMINFO, codeText) == 0);
static_assert(offsetof(StTAXSUMINFO, amount) == 598);
