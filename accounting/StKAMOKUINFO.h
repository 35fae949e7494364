// The business core's record of one account, filled by ClSetKamoku::WalkFind. Callers keep a
// copy of 212 bytes plus the one byte that follows, so the record is 213 bytes long.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StKAMOKUINFO {
  std::uint8_t reserved0[16];
  std::int32_t accountCode;  // 16
  std::uint8_t reserved20[2];
  char codeText[16];  // 22: account code text, NUL-terminated
  char name[48];      // 38: account name, NUL-terminated code page 932
  std::uint8_t reserved86[24];
  std::uint8_t excluded;    // 110: not 0 = left out of lists
  std::uint8_t normalSide;  // 111: 1 debit, 2 credit
  std::uint8_t totalFlag;   // 112: 1 = total (group) account
  std::uint8_t reserved113[31];
  std::int32_t classCode;  // 144: classification code
  std::uint8_t reserved148[65];
};
#pragma pack(pop)

static_assert(sizeof(StKAMOKUINFO) == 213);
static_assert(offsetof(StKAMOKUINFO, accountCode) == 16);
static_assert(offsetof(StKAMOKUINFO, codeText) == 22);
static_assert(offsetof(StKAMOKUINFO, excluded) == 110);
static_assert(offsetof(StKAMOKUINFO, classCode) == 144);
