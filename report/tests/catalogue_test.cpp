#include "report/data_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "aggregate/tax_totals.h"

namespace {

const char* const kSuffixes[] = {"10", "8K", "8", "5", "3"};

std::string Stem(const std::string& name, int slot) {
  return name.substr(0, name.size() - std::string(kSuffixes[slot]).size());
}

}  // namespace

TEST(DataCatalogue, ThirtyFiveGroupsWithTheElementCountsOfTheForms) {
  const auto& groups = DataCatalogue();
  ASSERT_EQ(groups.size(), 35u);
  // Elements per section (rows) and rate (columns 10, 8K, 8, 5, 3).
  const int counts[kDataSectionCount][kRateSlotCount] = {
      {13, 13, 13, 13, 13}, {32, 26, 32, 18, 18}, {6, 6, 6, 6, 6}, {5, 5, 5, 5, 5},
      {22, 22, 22, 22, 22}, {22, 22, 22, 22, 22}, {6, 6, 6, 6, 6},
  };
  const char* const ids[kDataSectionCount][kRateSlotCount] = {
      {"D020114", "D020113", "D020110", "D020111", "D020112"},
      {"D020124", "D020123", "D020120", "D020121", "D020122"},
      {"D020134", "D020133", "D020130", "D020131", "D020132"},
      {"D02204", "D02203", "D02200", "D02201", "D02202"},
      {"D020214", "D020213", "D020210", "D020211", "D020212"},
      {"D020224", "D020223", "D020220", "D020221", "D020222"},
      {"D020234", "D020233", "D020230", "D020231", "D020232"},
  };
  std::size_t total = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const CatalogueGroup& group = groups[g];
    const int section = static_cast<int>(g / kRateSlotCount);
    const int slot = static_cast<int>(g % kRateSlotCount);
    EXPECT_EQ(static_cast<int>(group.section), section);
    EXPECT_EQ(group.slot, slot);
    EXPECT_EQ(group.id, ids[section][slot]);
    EXPECT_EQ(static_cast<int>(group.elements.size()), counts[section][slot]) << group.id;
    total += group.elements.size();
  }
  EXPECT_EQ(total, 496u);
}

TEST(DataCatalogue, EveryRateRepeatsTheTenPercentListLessItsMissingFamilies) {
  const auto& groups = DataCatalogue();
  for (std::size_t g = 0; g < groups.size(); g += kRateSlotCount) {
    std::vector<std::string> tenPercent;
    for (const CatalogueElement& e : groups[g].elements) {
      ASSERT_EQ(e.name.substr(e.name.size() - 2), "10") << e.name;
      tenPercent.push_back(Stem(e.name, 0));
    }
    for (int slot = 1; slot < kRateSlotCount; ++slot) {
      std::size_t next = 0;
      for (const CatalogueElement& e : groups[g + slot].elements) {
        ASSERT_EQ(e.name.substr(e.name.size() - std::string(kSuffixes[slot]).size()),
                  kSuffixes[slot]);
        // Same relative order: each stem is found further on in the 10 % list.
        while (next < tenPercent.size() && tenPercent[next] != Stem(e.name, slot)) ++next;
        ASSERT_LT(next, tenPercent.size()) << e.name << " out of order";
        ++next;
      }
    }
  }
}

TEST(DataCatalogue, NamesRepeatOnlyForExemptSalesAndBadDebtsInTheirTwinSections) {
  std::map<std::string, std::set<std::string>> groupsOf;
  for (const CatalogueGroup& group : DataCatalogue()) {
    std::set<std::string> inGroup;
    for (const CatalogueElement& e : group.elements) {
      EXPECT_TRUE(inGroup.insert(e.name).second) << e.name << " twice in " << group.id;
      groupsOf[e.name].insert(group.id);
      for (char c : e.name) EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
    }
  }
  int repeated = 0;
  for (const auto& [name, groups] : groupsOf) {
    if (groups.size() == 1) continue;
    ++repeated;
    EXPECT_EQ(groups.size(), 2u) << name;
    EXPECT_TRUE(name.rfind("MENZEIURIAGE", 0) == 0 || name.rfind("KASHIDAORE", 0) == 0) << name;
  }
  EXPECT_EQ(repeated, 5 * 8);  // two exempt names and six bad-debt names at each rate
}

// Two elements may read the same saved figure only when they are the same element written in
// two sections; every figure lies inside the saved-figures buffer.
TEST(DataCatalogue, SavedOffsetsAreDistinctAndInsideTheBuffer) {
  std::map<std::size_t, std::string> reader;
  int savedCount = 0;
  for (const CatalogueGroup& group : DataCatalogue()) {
    for (const CatalogueElement& e : group.elements) {
      if (!e.saved.present) continue;
      ++savedCount;
      EXPECT_LE(e.saved.offset + 8, kSavedFiguresBufferSize);
      EXPECT_GE(e.saved.offset, StSaveTaxInfo::kBusinessYearEnd + 4u);
      auto [it, fresh] = reader.emplace(e.saved.offset, e.name);
      if (!fresh) {
        EXPECT_EQ(it->second, e.name) << "offset " << e.saved.offset;
      }
      EXPECT_FALSE(e.saved.offset >= StSaveTaxInfo::kRefundClassSoleProprietor &&
                   e.saved.offset < StSaveTaxInfo::kRefundAmounts + 8 * 16);
    }
  }
  // Everything but the ZERO figures of S5 and S6 and the returns of non-taxable asset exports.
  EXPECT_EQ(savedCount, 496 - 5 * (6 + 1));
  // Figures are eight bytes: no two distinct offsets overlap.
  std::size_t previous = 0;
  for (const auto& [offset, name] : reader) {
    if (previous != 0) {
      EXPECT_GE(offset, previous + 8) << name;
    }
    previous = offset;
  }
}

TEST(DataCatalogue, JournalSourcesStayInsideTheRecords) {
  int empty = 0;
  for (const CatalogueGroup& group : DataCatalogue()) {
    std::set<int> rateOffsets;
    for (const CatalogueElement& e : group.elements) {
      switch (e.journal.kind) {
        case JournalSource::kEmpty:
          ++empty;
          break;
        case JournalSource::kRateRecord:
          EXPECT_TRUE(rateOffsets.insert(e.journal.offset).second) << e.name;
          // One of the 55 return figures or one of the two local import taxes.
          EXPECT_TRUE((e.journal.offset >= 9 && e.journal.offset <= 441 &&
                       (e.journal.offset - 9) % 8 == 0) ||
                      e.journal.offset == 477 || e.journal.offset == 485)
              << e.name << " at " << e.journal.offset;
          break;
        case JournalSource::kBusinessType:
        case JournalSource::kUnassigned:
          EXPECT_TRUE(group.section == DataSection::kSimplifiedSales ||
                      group.section == DataSection::kSimplifiedReturns);
          break;
      }
    }
  }
  // HIKAZEISHISANHENKAN at each rate, the six specified-purchase names at 10 % and 8 %, S4.
  EXPECT_EQ(empty, 5 + 2 * 6 + 5 * 5);
}
