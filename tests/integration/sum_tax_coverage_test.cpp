// The business core's tax-return summation and the linkage file's DATA catalogue are built
// apart; this checks they meet: every figure the DATA writer reads from a summation record is
// one that some journal tax category feeds, so no element of the file is empty by design.
#include <gtest/gtest.h>

#include <set>

#include "ledvia/tax_categories.h"
#include "report/data_catalogue.h"

namespace {

// Offsets of StTAXREPORTRATEINFO that at least one tax category feeds.
std::set<int> FedRateOffsets() {
  std::set<int> fed;
  for (int category = 0; category < 256; ++category) {
    const ledvia::TaxCategoryTarget* target = ledvia::FindTaxCategory(category);
    if (target == nullptr) continue;
    for (int offset : {target->excludedOffset, target->taxOffset, target->includedOffset}) {
      if (offset != 0) fed.insert(offset);
    }
  }
  return fed;
}

// Offsets of StTAXREPORTBUSINESSTYPEINFO that the sales or returns of some category feed.
std::set<int> FedBusinessTypeOffsets() {
  bool sales = false, returns = false;
  for (int category = 0; category < 256; ++category) {
    const ledvia::TaxCategoryTarget* target = ledvia::FindTaxCategory(category);
    if (target == nullptr) continue;
    sales = sales || target->businessTypeKind == 1;
    returns = returns || target->businessTypeKind == 2;
  }
  std::set<int> fed;
  if (sales)
    fed.insert(std::begin(ledvia::kBusinessSalesOffsets), std::end(ledvia::kBusinessSalesOffsets));
  if (returns) {
    fed.insert(std::begin(ledvia::kBusinessReturnsOffsets),
               std::end(ledvia::kBusinessReturnsOffsets));
  }
  return fed;
}

}  // namespace

TEST(SumTaxCoverage, EveryFigureTheDataWriterReadsIsFedByATaxCategory) {
  const std::set<int> rateOffsets = FedRateOffsets();
  const std::set<int> businessOffsets = FedBusinessTypeOffsets();
  int checked = 0;
  for (const CatalogueGroup& group : DataCatalogue()) {
    for (const CatalogueElement& element : group.elements) {
      const JournalSource& source = element.journal;
      switch (source.kind) {
        case JournalSource::kRateRecord:
          EXPECT_TRUE(rateOffsets.count(source.offset)) << element.name << " at " << source.offset;
          ++checked;
          break;
        case JournalSource::kBusinessType:
          EXPECT_TRUE(businessOffsets.count(source.offset)) << element.name;
          ++checked;
          break;
        case JournalSource::kUnassigned:
          EXPECT_TRUE(rateOffsets.count(source.offset)) << element.name;
          EXPECT_TRUE(businessOffsets.count(source.businessOffset)) << element.name;
          ++checked;
          break;
        case JournalSource::kEmpty:
          break;
      }
    }
  }
  EXPECT_GT(checked, 300);  // the catalogue really was walked
}
