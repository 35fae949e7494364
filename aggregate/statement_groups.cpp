#include "aggregate/statement_groups.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::uint32_t, 2> kSpecialList = {0x40888000, 0x40848000};
constexpr std::array<std::uint32_t, 17> kCorporateList = {
    0x40884400, 0x20804000, 0x20400000, 0x20200000, 0x40882000, 0x40844000,
    0x40440000, 0x40440040, 0x40440080, 0x40882040, 0x40882020, 0x40882010,
    0x40882008, 0x40882004, 0x20200040, 0x20400008, 0x20400004};
constexpr std::array<std::uint32_t, 18> kSoleProprietorList = {
    0x40884400, 0x20804000, 0x20400000, 0x20200000, 0x40882000, 0x40882040,
    0x40882020, 0x40882010, 0x40882008, 0x40882004, 0x40844000, 0x40844080,
    0x40440000, 0x40440080, 0x40440040, 0x20200040, 0x20400008, 0x20400004};

// The goods-purchase codes; 0x40884400 is the cost-of-sales total.
constexpr std::uint32_t kCostOfSalesTotal = 0x40884400;
constexpr std::array<std::uint32_t, 6> kGoodsPurchasePostings = {
    0x20804000, 0x20400000, 0x20400008, 0x20400004, 0x20200000, 0x20200040};
constexpr std::array<std::uint32_t, 6> kSellingAdminCodes = {0x40882000, 0x40882040, 0x40882020,
                                                             0x40882010, 0x40882008, 0x40882004};
constexpr std::uint32_t kSellingAdminTotal = 0x40882000;
constexpr std::uint32_t kNonOperatingTotal = 0x40844000;
constexpr std::array<std::uint32_t, 3> kOtherProfitLossCodes = {0x40440000, 0x40440040, 0x40440080};
constexpr std::uint32_t kOtherProfitLossTotal = 0x40440000;

constexpr std::array<std::uint32_t, 11> kSoleExpenseCodes = {
    0x40882000, 0x40882040, 0x40882020, 0x40882010, 0x40882008, 0x40882004,
    0x40844000, 0x40844080, 0x40440000, 0x40440040, 0x40440080};

template <std::size_t N>
bool OneOf(const std::array<std::uint32_t, N>& codes, std::uint32_t code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

std::span<const std::uint32_t> AccountListCodes(AccountListType type) {
  switch (type) {
    case AccountListType::kSpecial:
      return kSpecialList;
    case AccountListType::kCorporate:
      return kCorporateList;
    case AccountListType::kSoleProprietor:
      return kSoleProprietorList;
  }
  return {};
}

StatementLine* CorporateJournalLine(TaxTotals& totals, std::uint32_t classCode) {
  if (classCode == kCostOfSalesTotal || OneOf(kGoodsPurchasePostings, classCode)) {
    return &totals.goodsPurchases;
  }
  if (OneOf(kSellingAdminCodes, classCode)) return &totals.sellingAdminExpenses;
  if (classCode == kNonOperatingTotal) return &totals.nonOperatingExpenses;
  if (OneOf(kOtherProfitLossCodes, classCode)) return &totals.otherProfitLoss;
  return nullptr;
}

StatementLine* CorporateAccountSumLine(TaxTotals& totals, std::uint32_t classCode,
                                       std::uint8_t totalFlag) {
  bool total = totalFlag == 1;
  if (classCode == kCostOfSalesTotal) return total ? &totals.goodsPurchases : nullptr;
  if (OneOf(kGoodsPurchasePostings, classCode)) return total ? nullptr : &totals.goodsPurchases;
  if (!total) return nullptr;
  if (classCode == kSellingAdminTotal) return &totals.sellingAdminExpenses;
  if (classCode == kNonOperatingTotal) return &totals.nonOperatingExpenses;
  if (classCode == kOtherProfitLossTotal) return &totals.otherProfitLoss;
  return nullptr;
}

SoleProprietorGroup SoleProprietorGroupOf(std::uint32_t classCode) {
  if (classCode == kCostOfSalesTotal || OneOf(kGoodsPurchasePostings, classCode)) {
    return SoleProprietorGroup::kPurchases;
  }
  if (OneOf(kSoleExpenseCodes, classCode)) return SoleProprietorGroup::kExpenses;
  return SoleProprietorGroup::kNone;
}
