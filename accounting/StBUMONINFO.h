// The business core's record of one department, filled by ClSetBumon::Walk and GetInfoByCode.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StBUMONINFO {
  std::int32_t code;  // 0: department code
  std::uint8_t reserved4[12];
  std::int32_t value;  // 16: 0 for a department that carries the owner's own business
  char name[40];       // 20: code page 932
  std::uint8_t reserved60[19];
  std::uint8_t kind;  // 79: department kind (1 and 2 are summing departments)
  std::uint8_t reserved80[48];
  std::uint8_t incomeCategory;  // 128: 1 business, 3 real estate, other values other income
  std::uint8_t reserved129[127];
};
#pragma pack(pop)

static_assert(sizeof(StBUMONINFO) == 256);
static_assert(offsetof(StBUMONINFO, value) == 16);
static_assert(offsetof(StBUMONINFO, kind) == 79);
static_assert(offsetof(StBUMONINFO, incomeCategory) == 128);
