#include "report/data_catalogue.h"

#include <gtest/gtest.h>

#include <map>

#include "accounting/StSaveTaxInfo.h"
#include "aggregate/tax_totals.h"

// The names and their order are proven by the golden files; this pins the shape.
TEST(DataCatalogue, ThirtyFiveGroupsWithTheElementCountsOfTheForms) {
  const auto& groups = DataCatalogue();
  ASSERT_EQ(groups.size(), 35u);
  // Elements per section (rows S1 to S7) and rate (columns 10, 8K, 8, 5, 3).
  const int counts[kDataSectionCount][kRateSlotCount] = {
      {13, 13, 13, 13, 13}, {32, 26, 32, 18, 18}, {6, 6, 6, 6, 6}, {5, 5, 5, 5, 5},
      {22, 22, 22, 22, 22}, {22, 22, 22, 22, 22}, {6, 6, 6, 6, 6},
  };
  const char* const firstIds[kDataSectionCount] = {"D020114", "D020124", "D020134", "D02204",
                                                   "D020214", "D020224", "D020234"};
  const char rateDigits[] = "43012";
  std::size_t total = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const int section = static_cast<int>(g / kRateSlotCount);
    const int slot = static_cast<int>(g % kRateSlotCount);
    std::string id = firstIds[section];
    id.back() = rateDigits[slot];
    EXPECT_EQ(groups[g].id, id);
    EXPECT_EQ(static_cast<int>(groups[g].section), section);
    EXPECT_EQ(groups[g].slot, slot);
    EXPECT_EQ(static_cast<int>(groups[g].elements.size()), counts[section][slot]) << id;
    total += groups[g].elements.size();
  }
  EXPECT_EQ(total, 496u);
}

// Two elements read the same saved figure only when they are the same element written in two
// sections; figures never overlap and lie inside the buffer, clear of the refund block.
TEST(DataCatalogue, SavedFiguresAreDistinctAndInsideTheBuffer) {
  std::map<std::size_t, std::string> reader;
  for (const CatalogueGroup& group : DataCatalogue()) {
    for (const CatalogueElement& e : group.elements) {
      if (!e.saved.present) continue;
      EXPECT_LE(e.saved.offset + 8, kSavedFiguresBufferSize);
      EXPECT_FALSE(e.saved.offset + 8 > StSaveTaxInfo::kRefundClassSoleProprietor &&
                   e.saved.offset < StSaveTaxInfo::kRefundAmounts + 8 * 16);
      auto [it, fresh] = reader.emplace(e.saved.offset, e.name);
      EXPECT_EQ(it->second, e.name) << "offset " << e.saved.offset;
    }
  }
  // All but the ZERO figures of S5 and S6 and the returns of non-taxable asset exports.
  EXPECT_EQ(reader.size(), 496u - 5 * (6 + 1) - 5 * 8);
  std::size_t previous = 0;
  for (const auto& [offset, name] : reader) {
    EXPECT_GE(offset, previous + 8) << name;
    previous = offset;
  }
}
