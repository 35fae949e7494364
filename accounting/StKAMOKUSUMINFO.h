// The business core's monthly sums of one account, filled by ClRuleKamoku::MoveNext. The
// arrays are indexed by month index: 1 to 12 the months of the year, 13 the year-end closing
// adjustment (find month 18), 14 the interim-closing adjustment (find month 15); 0 is unused.
#pragma once

#include <cstddef>
#include <cstdint>
#include "accounting/packed_field.h"

#pragma pack(push, 1)
struct StKAMOKUSUMINFO {
  std::int32_t accountCode;  // 0
  char codeText[16];         // 4: account code text, NUL-terminated
  char name[48];             // 20: account name, code page 932
  std::uint8_t reserved68[58];
  std::uint8_t skip126;    // 126: not 0 = not a posting account
  std::uint8_t totalFlag;  // 127: 1 = total (group) account
  std::uint8_t skip128;    // 128: 1 = not to be summed
  std::uint8_t reserved129;
  std::uint8_t normalSide;  // 130: 1 debit, 2 credit
  std::uint8_t reserved131[5];
  std::int32_t classCode;  // 136: classification code
  std::uint8_t reserved140[12];
  std::int64_t debitExcluded[15];   // 152: tax-excluded debit totals
  std::int64_t debitIncluded[15];   // 272: tax-included debit totals
  std::int64_t creditExcluded[15];  // 392
  std::int64_t creditIncluded[15];  // 512
  std::uint8_t reserved632[4];

  // Byte offsets of the four arrays, for MonthAmount.
  static constexpr std::size_t kDebitExcluded = 152;
  static constexpr std::size_t kDebitIncluded = 272;
  static constexpr std::size_t kCreditExcluded = 392;
  static constexpr std::size_t kCreditIncluded = 512;

  // Element `month` (0 to 14) of the array at byte offset `array`. The record is byte-packed,
  // so its array elements may be unaligned: read and write them through these (memcpy), never
  // through a reference or pointer to an element.
  std::int64_t MonthAmount(std::size_t array, int month) const {
    return ReadPacked<std::int64_t>(this, array + 8 * static_cast<std::size_t>(month));
  }
  void SetMonthAmount(std::size_t array, int month, std::int64_t value) {
    WritePacked(this, array + 8 * static_cast<std::size_t>(month), value);
  }
};
#pragma pack(pop)

static_assert(sizeof(StKAMOKUSUMINFO) == 636);
static_assert(offsetof(StKAMOKUSUMINFO, skip126) == 126);
static_assert(offsetof(StKAMOKUSUMINFO, totalFlag) == 127);
static_assert(offsetof(StKAMOKUSUMINFO, skip128) == 128);
static_assert(offsetof(StKAMOKUSUMINFO, normalSide) == 130);
static_assert(offsetof(StKAMOKUSUMINFO, classCode) == 136);
static_assert(offsetof(StKAMOKUSUMINFO, debitExcluded) == 152);
static_assert(offsetof(StKAMOKUSUMINFO, debitIncluded) == 272);
static_assert(offsetof(StKAMOKUSUMINFO, creditExcluded) == 392);
static_assert(offsetof(StKAMOKUSUMINFO, creditIncluded) == 512);

constexpr int kAccountSumYearEndIndex = 13;
constexpr int kAccountSumInterimIndex = 14;
