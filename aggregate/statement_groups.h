// Which refund-statement line an account belongs to, by its classification code, and which
// journal sides count as non-taxable purchases. Shared by the corporate and sole-proprietor
// stages.
#pragma once

#include <cstdint>
#include <span>

#include "aggregate/tax_totals.h"

// The non-taxable-purchase set N: tax categories below 21, 24, and 30 and above. 21 to 23 and
// 25 to 29 are the taxable purchases and their returns.
constexpr bool InNonTaxableSet(std::uint8_t category) {
  return category < 21 || category == 24 || category >= 30;
}

// The accounts each list of the engine holds, by the classification codes of its find (in
// find order): 1 the special accounts (stage 4), 2 the corporate statement's accounts, 3 the
// sole proprietor's.
enum class AccountListType { kSpecial = 1, kCorporate = 2, kSoleProprietor = 3 };
std::span<const std::uint32_t> AccountListCodes(AccountListType type);

// The corporate statement line a journal side booked to an account of `classCode` belongs to;
// nullptr when none.
StatementLine* CorporateJournalLine(TaxTotals& totals, std::uint32_t classCode);
// The corporate statement line an account sum belongs to. Only total accounts (flag 1) stand
// for the expense groups and for 0x40884400; the other goods-purchase codes count only when
// they are not totals. nullptr when none.
StatementLine* CorporateAccountSumLine(TaxTotals& totals, std::uint32_t classCode,
                                       std::uint8_t totalFlag);

// The sole proprietor's account groups: purchases and necessary expenses.
enum class SoleProprietorGroup { kNone, kPurchases, kExpenses };
SoleProprietorGroup SoleProprietorGroupOf(std::uint32_t classCode);
