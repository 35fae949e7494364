// The business core's record of one company data (an entry of the data list).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StDATAINFO {
  char dataId[16];             // 0: data id text, handed to SetCurDataID
  std::int32_t dataNo;         // 16: data number, matched against the user's selection
  std::uint8_t reserved20[4];  // 20
  char companyName[80];        // 24: company name, NUL-terminated code page 932
  std::uint8_t reserved104[180];
  std::int32_t periodStart;  // 284: first day of the accounting period, YYYYMMDD
  std::int32_t periodEnd;    // 288: last day of the accounting period, YYYYMMDD
  std::uint8_t reserved292[12];
  std::int32_t interimClosing;  // 304: 1 when the data closes at mid-year
  std::uint8_t reserved308[18];
  std::int16_t dataKind;  // 326: 99 = past-results data
  std::uint8_t reserved328[16];
  std::uint8_t entityKind;  // 344: 0, 1 corporate; 3, 4 sole proprietor
  std::uint8_t reserved345[602];
  std::uint8_t incomeKinds;  // 947: 1 business, 2 real estate, 3 several
  std::uint8_t reserved948[557];
};
#pragma pack(pop)

static_assert(sizeof(StDATAINFO) == 1505);
static_assert(offsetof(StDATAINFO, dataNo) == 16);
static_assert(offsetof(StDATAINFO, companyName) == 24);
static_assert(offsetof(StDATAINFO, periodStart) == 284);
static_assert(offsetof(StDATAINFO, periodEnd) == 288);
static_assert(offsetof(StDATAINFO, interimClosing) == 304);
static_assert(offsetof(StDATAINFO, dataKind) == 326);
static_assert(offsetof(StDATAINFO, entityKind) == 344);
static_assert(offsetof(StDATAINFO, incomeKinds) == 947);

constexpr std::int16_t kDataKindPastResults = 99;
