// The business core's sum of the journal sides of one month index, side, account, department
// and tax category, filled by ClRuleShiwake::MoveNextSideSum. Amounts are ten-thousandths of a
// yen.
#pragma once

#include <cstdint>

constexpr std::uint8_t kSwkSideDebit = 1;
constexpr std::uint8_t kSwkSideCredit = 2;

#pragma pack(push, 1)
struct StSWKSIDESUMINFO {
  std::int16_t monthIndex;  // 1 to 12, 15 interim, 18 year-end adjustment
  std::uint8_t side;        // 1 debit, 2 credit
  std::uint8_t category;    // the sides' tax category
  std::int32_t account;     // account code
  std::int32_t dept;        // department code, 0 none
  std::int32_t sides;       // how many sides were summed
  std::int64_t amount;      // tax-excluded amounts
  std::int64_t tax;         // tax amounts
};
#pragma pack(pop)
