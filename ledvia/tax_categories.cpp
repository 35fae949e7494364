#include "ledvia/tax_categories.h"

namespace ledvia {
namespace {

constexpr std::uint8_t kDebit = 1;
constexpr std::uint8_t kCredit = 2;

// Sales categories are credits, purchases debits; their returns sit on the other side.
constexpr TaxCategoryTarget kTargets[] = {
    {1, "taxable sales", kCredit, 9, 17, 25, 1},
    {2, "exempt (export) sales", kCredit, 41, 0, 0, 0},
    {3, "non-taxable sales other than securities", kCredit, 49, 0, 0, 0},
    {4, "non-taxable sales of securities (5 % stored)", kCredit, kSecuritiesOffset, 0, 0, 0},
    {5, "exports of non-taxable assets", kCredit, 57, 0, 0, 0},
    {6, "returns on taxable sales", kDebit, 65, 73, 81, 2},
    {7, "returns on exempt sales", kDebit, 97, 0, 0, 0},
    {8, "returns on non-taxable sales", kDebit, 89, 0, 0, 0},
    {9, "bad debts", kDebit, 401, 409, 417, 0},
    {10, "bad debts collected", kCredit, 425, 433, 441, 0},
    {21, "taxable purchases for taxable sales", kDebit, 105, 113, 121, 0},
    {22, "taxable purchases for non-taxable sales", kDebit, 129, 137, 145, 0},
    {23, "taxable purchases common to both", kDebit, 153, 161, 169, 0},
    {25, "purchase returns, taxable sales", kCredit, 257, 265, 273, 0},
    {26, "purchase returns, non-taxable sales", kCredit, 281, 289, 297, 0},
    {27, "purchase returns, common", kCredit, 305, 313, 321, 0},
    {28, "specified taxable purchases", kDebit, 177, 0, 0, 0},
    {29, "returns on specified taxable purchases", kCredit, 329, 0, 0, 0},
    // Import consumption tax paid at customs: the side's amount is the tax itself.
    {38, "import national tax, taxable sales", kDebit, 0, 185, 0, 0},
    {39, "import national tax, non-taxable sales", kDebit, 0, 209, 0, 0},
    {40, "import national tax, common", kDebit, 0, 233, 0, 0},
    {41, "import local tax", kDebit, 0, 477, 0, 0},
    {42, "import national tax refunded, taxable sales", kCredit, 0, 337, 0, 0},
    {43, "import national tax refunded, non-taxable sales", kCredit, 0, 361, 0, 0},
    {44, "import national tax refunded, common", kCredit, 0, 385, 0, 0},
    {45, "import local tax refunded", kCredit, 0, 485, 0, 0},
};

}  // namespace

const TaxCategoryTarget* FindTaxCategory(int category) {
  for (const TaxCategoryTarget& target : kTargets) {
    if (target.category == category) return &target;
  }
  return nullptr;
}

}  // namespace ledvia
