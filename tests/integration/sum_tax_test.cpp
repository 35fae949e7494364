// SumTax: which journal category feeds which amount of the tax-return records.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "accounting/ClRuleShohizeiShinkoku.h"
#include "aggregate/tax_totals.h"
#include "ledvia/status_codes.h"
#include "ledvia/tax_categories.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

// The per-rate records prepared the way the program prepares them for SumTax.
struct Records {
  Records() {
    totals.Allocate(kRateSlotCount);
    rates = totals.rateRecords.data();
    types = totals.businessTypeRecords.data();
  }
  Records(const Records&) = delete;
  Records& operator=(const Records&) = delete;
  std::int64_t Type(int slot, int type, std::size_t offset) const {
    return totals.BusinessTypeRecord(slot, type).AmountAt(offset);
  }
  TaxTotals totals;
  StTAXREPORTRATEINFO* rates;
  StTAXREPORTBUSINESSTYPEINFO* types;
};

class SumTaxTest : public OwnCompany {
 protected:
  // One side of `category` on `side` (1 debit, 2 credit) for `yen` with `taxYen`.
  void Book(int category, int side, std::int64_t yen, std::int64_t taxYen, int rate, int reduced,
            int businessType = 0, int monthIndex = 0) {
    EntrySpec entry;
    entry.date = 20200415;
    entry.monthIndex = monthIndex;
    entry.debitAccount = chart::kCash;
    entry.creditAccount = chart::kSales;
    entry.debitAmount = entry.creditAmount = Yen(yen);
    if (side == 1) {
      entry.debitCategory = category;
      entry.debitTax = Yen(taxYen);
    } else {
      entry.creditCategory = category;
      entry.creditTax = Yen(taxYen);
    }
    entry.rate = rate;
    entry.reduced = reduced;
    entry.businessType = businessType;
    ASSERT_EQ(writer_.AddEntry(1, entry), 0) << writer_.Error();
  }

  int Sum(Records* records, const StFINDINFO* find = nullptr) {
    ClRuleShohizeiShinkoku rule;
    rule.AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
    rule.SetCurDataID("T1");
    return rule.SumTax(2, find, records->rates, records->types);
  }
};

TEST_F(SumTaxTest, EachCategoryFeedsItsAmounts) {
  AddData();
  // Category c books c thousand yen with c hundred yen of tax on its own side at 10 %.
  const struct {
    int category;
    int side;
    std::vector<std::pair<int, std::int64_t>> amounts;  // offset, yen
  } cases[] = {
      {1, 2, {{9, 1000}, {17, 100}, {25, 1100}}},
      {2, 2, {{41, 2000}}},
      {3, 2, {{49, 3000}}},
      {4, 2, {{33, 200}}},  // 5 % of the price
      {5, 2, {{57, 5000}}},
      {6, 1, {{65, 6000}, {73, 600}, {81, 6600}}},
      {7, 1, {{97, 7000}}},
      {8, 1, {{89, 8000}}},
      {9, 1, {{401, 9000}, {409, 900}, {417, 9900}}},
      {10, 2, {{425, 10000}, {433, 1000}, {441, 11000}}},
      {21, 1, {{105, 21000}, {113, 2100}, {121, 23100}}},
      {22, 1, {{129, 22000}, {137, 2200}, {145, 24200}}},
      {23, 1, {{153, 23000}, {161, 2300}, {169, 25300}}},
      {25, 2, {{257, 25000}, {265, 2500}, {273, 27500}}},
      {26, 2, {{281, 26000}, {289, 2600}, {297, 28600}}},
      {27, 2, {{305, 27000}, {313, 2700}, {321, 29700}}},
      {28, 1, {{177, 28000}}},
      {29, 2, {{329, 29000}}},
      {38, 1, {{185, 38000}}},
      {39, 1, {{209, 39000}}},
      {40, 1, {{233, 40000}}},
      {41, 1, {{477, 41000}}},
      {42, 2, {{337, 42000}}},
      {43, 2, {{361, 43000}}},
      {44, 2, {{385, 44000}}},
      {45, 2, {{485, 45000}}},
  };
  for (const auto& c : cases) {
    Book(c.category, c.side, c.category * 1000, c.category * 100, 1000, 0);
  }
  // Sides that are not summed: out of scope, non-taxable purchases, not subject, unsplit imports.
  for (int category : {0, 24, 30, 31, 34, 37}) Book(category, 1, 777, 77, 1000, 0);
  Attach();
  Records records;
  ASSERT_EQ(Sum(&records), 0);
  std::set<int> expectedOffsets;
  for (const auto& c : cases) {
    for (const auto& [offset, yen] : c.amounts) {
      EXPECT_EQ(records.rates[0].AmountAt(offset), Yen(yen))
          << "category " << c.category << " offset " << offset;
      expectedOffsets.insert(offset);
    }
  }
  // The two local-tax amounts (477, 485) sit between the 8-byte grid of the others.
  auto overlapsExpected = [&](int offset) {
    for (int expected : expectedOffsets) {
      if (offset < expected + 8 && expected < offset + 8) return true;
    }
    return false;
  };
  for (int offset = 9; offset <= 489; offset += 8) {
    if (!overlapsExpected(offset)) {
      EXPECT_EQ(records.rates[0].AmountAt(offset), 0) << "offset " << offset;
    }
  }
  for (int slot = 1; slot < 5; ++slot) {
    for (int offset = 9; offset <= 489; offset += 8) {
      EXPECT_EQ(records.rates[slot].AmountAt(offset), 0) << "slot " << slot;
    }
  }
}

TEST_F(SumTaxTest, RatesSidesBusinessTypesAndMonths) {
  AddData();
  Book(1, 2, 1000, 80, 800, 1, 2);     // reduced 8 %, second type
  Book(1, 1, 300, 24, 800, 1, 2);      // a correction on the debit side subtracts
  Book(1, 2, 500, 40, 800, 0, 6);      // standard 8 %, sixth type
  Book(6, 1, 100, 8, 800, 0, 6);       // a return of the sixth type
  Book(1, 2, 200, 10, 500, 0, 0);      // 5 %, no business type
  Book(1, 2, 900, 27, 300, 0, 1, 18);  // 3 %, year-end adjustment
  Book(1, 2, 400, 40, 1000, 1, 1);     // 10 % flagged reduced: no such rate slot
  Attach();
  Records records;
  ASSERT_EQ(Sum(&records), 0);
  EXPECT_EQ(records.rates[1].AmountAt(9), Yen(700));
  EXPECT_EQ(records.rates[1].AmountAt(17), Yen(56));
  EXPECT_EQ(records.rates[1].AmountAt(25), Yen(756));
  EXPECT_EQ(records.Type(1, 2, 24), Yen(700));
  EXPECT_EQ(records.Type(1, 2, 16), Yen(56));
  EXPECT_EQ(records.Type(1, 2, 8), Yen(756));
  EXPECT_EQ(records.rates[2].AmountAt(9), Yen(500));
  EXPECT_EQ(records.Type(2, 6, 24), Yen(500));
  EXPECT_EQ(records.Type(2, 6, 48), Yen(100));
  EXPECT_EQ(records.Type(2, 6, 40), Yen(8));
  EXPECT_EQ(records.Type(2, 6, 32), Yen(108));
  EXPECT_EQ(records.rates[3].AmountAt(9), Yen(200));
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(records.Type(3, k, 24), 0) << k;
  EXPECT_EQ(records.rates[4].AmountAt(9), Yen(900));
  EXPECT_EQ(records.rates[0].AmountAt(9), 0);

  // Months 1 to 12 only: the year-end adjustment drops out.
  StFINDINFO months[2];
  std::memset(months, 0, sizeof months);
  SetFindCondition(months[0], kFindItemMonth, 0, kFindOpGreaterEqual, kFindValueMonth, 1);
  months[0].link = kFindLinkAnd;
  SetFindCondition(months[1], kFindItemMonth, 0, kFindOpLessEqual, kFindValueMonth, 12);
  Records inRange;
  ASSERT_EQ(Sum(&inRange, months), 0);
  EXPECT_EQ(inRange.rates[4].AmountAt(9), 0);
  EXPECT_EQ(inRange.rates[1].AmountAt(9), Yen(700));
}

TEST_F(SumTaxTest, SecuritiesAreStoredAsOneTwentiethOfThePrice) {
  AddData();
  Book(4, 2, 1000, 0, 1000, 0);
  Book(4, 2, 19, 0, 1000, 0);  // summed before dividing, so nothing is lost per sale
  Book(4, 2, 1, 0, 1000, 0);
  Attach();
  Records records;
  ASSERT_EQ(Sum(&records), 0);
  EXPECT_EQ(records.rates[0].AmountAt(33) * 20, Yen(1020));
}

TEST_F(SumTaxTest, OverflowIsAFailureNotAWrappedSum) {
  AddData();
  Book(21, 1, 500000000000000LL, 0, 1000, 0);
  Attach();
  Records records;
  records.rates[0].SetAmountAt(105, INT64_MAX - 1);
  EXPECT_NE(Sum(&records), 0);
}

TEST_F(SumTaxTest, ASumWithoutANegationIsAFailure) {
  AddData();
  // A taxable-purchase category on the credit side subtracts its sum, which cannot be negated.
  EntrySpec entry;
  entry.date = 20200415;
  entry.debitAccount = chart::kCash;
  entry.creditAccount = chart::kPurchases;
  entry.creditAmount = INT64_MIN;
  entry.creditCategory = 21;
  entry.rate = 1000;
  ASSERT_EQ(writer_.AddEntry(1, entry), 0) << writer_.Error();
  Attach();
  Records records;
  EXPECT_EQ(Sum(&records), kBadData);
}

TEST(TaxCategoryTableTest, EveryAmountTheReportReadsIsReachable) {
  // The amounts the DATA writer reads from each rate record.
  const int read[] = {9,   17,  25,  33,  41,  49,  57,  65,  73,  81,  89,  97,  105, 113, 121,
                      129, 137, 145, 153, 161, 169, 185, 209, 233, 257, 265, 273, 281, 289, 297,
                      305, 313, 321, 337, 361, 385, 401, 409, 417, 425, 433, 441, 477, 485};
  std::set<int> reached;
  for (int category = 0; category < 256; ++category) {
    const TaxCategoryTarget* target = FindTaxCategory(category);
    if (target == nullptr) continue;
    reached.insert({target->excludedOffset, target->taxOffset, target->includedOffset});
    // Taxable purchases (21 to 23, 25 to 29) and the non-taxable set never share a number.
    EXPECT_FALSE(IsUnsplitImportCategory(category)) << category;
  }
  for (int offset : read) EXPECT_EQ(reached.count(offset), 1u) << offset;
}

}  // namespace
}  // namespace ledvia::testing
