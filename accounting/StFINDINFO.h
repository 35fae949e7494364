// One condition entry of the business core's find record. A find is a chain of entries in one
// contiguous array, read from the first entry until an entry whose link is 0; AND binds
// tighter than OR, and an entry of item 999 stands for a nested chain in parentheses.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct StFINDINFO {
  std::int32_t item;  // 0: what is tested (kFindItem...)
  std::int16_t side;  // 4: item 3 and 16 on journal entries: 1 debit, 2 credit, 0 either side
  std::int16_t op;    // 6: kFindOp...
  std::uint8_t reserved8[2];
  std::int16_t valueType;  // 10: kFindValue...
  std::uint8_t reserved12[6];
  std::int32_t value;  // 18: 16 bits only for month indices (value type 2)
  std::uint8_t reserved22[4];
  // 26: item 999 only. On the original platform a 32-bit pointer; here the distance, in
  // entries, from this entry forward to the first entry of the nested chain, which lies later
  // in the same array (so the record can be copied without fixing pointers). Set it with
  // SetFindNested.
  std::uint32_t nested;
  std::int16_t link;  // 30: kFindLink...
  std::uint8_t reserved32[2];
};
#pragma pack(pop)

static_assert(sizeof(StFINDINFO) == 34);
static_assert(offsetof(StFINDINFO, side) == 4);
static_assert(offsetof(StFINDINFO, op) == 6);
static_assert(offsetof(StFINDINFO, valueType) == 10);
static_assert(offsetof(StFINDINFO, value) == 18);
static_assert(offsetof(StFINDINFO, nested) == 26);
static_assert(offsetof(StFINDINFO, link) == 30);

constexpr std::int32_t kFindItemTaxCategory = 3;  // tax category of a journal side
constexpr std::int32_t kFindItemClassCode = 16;   // classification code of an account
constexpr std::int32_t kFindItemMonth = 17;       // month index of a journal entry
constexpr std::int32_t kFindItemAssetDate = 203;  // date of a fixed asset
constexpr std::int32_t kFindItemNested = 999;     // nested chain

constexpr std::int16_t kFindSideEither = 0;
constexpr std::int16_t kFindSideDebit = 1;
constexpr std::int16_t kFindSideCredit = 2;

constexpr std::int16_t kFindOpEqual = 1;
constexpr std::int16_t kFindOpGreaterEqual = 4;
constexpr std::int16_t kFindOpLess = 5;
constexpr std::int16_t kFindOpLessEqual = 6;

constexpr std::int16_t kFindValueMonth = 2;
constexpr std::int16_t kFindValueInteger = 3;
constexpr std::int16_t kFindValueClassCode = 19;

constexpr std::int16_t kFindLinkNone = 0;
constexpr std::int16_t kFindLinkAnd = 1;
constexpr std::int16_t kFindLinkOr = 2;

// Makes entries[at] an item-999 entry whose nested chain starts at entries[chainStart]
// (chainStart > at, same array). The link of entries[at] is left as it is.
inline void SetFindNested(StFINDINFO* entries, std::size_t at, std::size_t chainStart) {
  entries[at].item = kFindItemNested;
  entries[at].nested = static_cast<std::uint32_t>(chainStart - at);
}

// Fills one plain condition entry (link left as it is).
inline void SetFindCondition(StFINDINFO& entry, std::int32_t item, std::int16_t side,
                             std::int16_t op, std::int16_t valueType, std::int32_t value) {
  entry.item = item;
  entry.side = side;
  entry.op = op;
  entry.valueType = valueType;
  entry.value = value;
}
