// The journal tax categories and the amounts of the tax-return records each one feeds. The
// same table is documented in ledvia/README.md.
#pragma once

#include <cstdint>

namespace ledvia {

// How ClRuleShohizeiShinkoku::SumTax treats a journal side of one tax category.
struct TaxCategoryTarget {
  std::uint8_t category;
  const char* name;         // for the README and tests
  std::uint8_t normalSide;  // 1 debit, 2 credit: the side that adds; the other side subtracts
  // StTAXREPORTRATEINFO offsets of the tax-excluded amount, the tax and the tax-included amount;
  // 0 where the category has no such figure.
  int excludedOffset;
  int taxOffset;
  int includedOffset;
  // 1: also the per-business-type sales amounts; 2: the per-business-type returns.
  int businessTypeKind;
};

// The target of `category`, or nullptr for categories SumTax does not sum (0 out of scope,
// 24 non-taxable purchases, 30 not subject, 31 to 37 import categories not yet split, and
// every number the table does not list).
const TaxCategoryTarget* FindTaxCategory(int category);

// The securities sales amount (category 4) is stored as this fraction of the price: 5 % enters
// the taxable-sales ratio, and the program multiplies the stored figure by 20 to write the
// price itself.
constexpr int kSecuritiesDivisor = 20;
constexpr int kSecuritiesOffset = 33;

// StTAXREPORTBUSINESSTYPEINFO offsets: sales tax-included, tax, tax-excluded; returns likewise.
constexpr int kBusinessSalesOffsets[3] = {8, 16, 24};
constexpr int kBusinessReturnsOffsets[3] = {32, 40, 48};

// Whether `category` is one of the import categories whose body, national and local parts are
// not yet split (31 to 37): such sides are left out of the return figures.
inline bool IsUnsplitImportCategory(int category) { return category >= 31 && category <= 37; }

}  // namespace ledvia
