// Small sums shared by the engine's stages; included by the engine's own .cpp files only.
#pragma once

#include <cstdint>

#include "aggregate/amount.h"

constexpr int kEndOfData = 5000;

// A walk that stopped on 0 or on the end of data went well; any other code is a failure.
constexpr bool WalkEndedWell(int code) { return code == 0 || code == kEndOfData; }

// Adds `amount` to a member; raises AmountOverflow (the member then keeps its value).
inline void AddTo(std::int64_t& member, const Amount& amount) {
  member = (Amount::FromFixed(member) + amount).ToFixed();
}

// A journal side's amount: its tax added when the books are kept tax-inclusive.
inline Amount SideAmount(std::int64_t amount, std::int64_t tax, bool taxInclusive) {
  Amount side = Amount::FromFixed(amount);
  return taxInclusive ? side + Amount::FromFixed(tax) : side;
}
