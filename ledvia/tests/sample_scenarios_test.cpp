// The situations the sample promises (README), checked through the calls the program makes.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClRuleShohizeiShinkoku.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

// The month find the program builds: first..last, OR an adjustment month when given.
std::vector<StFINDINFO> MonthFind(int first, int last, int adjustment = 0) {
  std::vector<StFINDINFO> find(adjustment != 0 ? 3 : 2);
  std::memset(find.data(), 0, find.size() * sizeof(StFINDINFO));
  SetFindCondition(find[0], kFindItemMonth, 0, kFindOpGreaterEqual, kFindValueMonth, first);
  find[0].link = kFindLinkAnd;
  SetFindCondition(find[1], kFindItemMonth, 0, kFindOpLessEqual, kFindValueMonth, last);
  if (adjustment != 0) {
    find[1].link = kFindLinkOr;
    SetFindCondition(find[2], kFindItemMonth, 0, kFindOpEqual, kFindValueMonth, adjustment);
  }
  return find;
}

// (debit 31..37 OR credit 31..37) AND (the month find), as one array.
std::vector<StFINDINFO> ImportFind(const std::vector<StFINDINFO>& months) {
  std::vector<StFINDINFO> find(6);
  std::memset(find.data(), 0, find.size() * sizeof(StFINDINFO));
  SetFindNested(find.data(), 0, 2);
  find[0].link = kFindLinkAnd;
  SetFindNested(find.data(), 1, 6);
  const std::int16_t sides[] = {1, 1, 2, 2};
  const std::int16_t ops[] = {kFindOpGreaterEqual, kFindOpLessEqual, kFindOpGreaterEqual,
                              kFindOpLessEqual};
  const std::int16_t links[] = {kFindLinkAnd, kFindLinkOr, kFindLinkAnd, kFindLinkNone};
  for (int i = 0; i < 4; ++i) {
    SetFindCondition(find[2 + i], kFindItemTaxCategory, sides[i], ops[i], kFindValueInteger,
                     i % 2 == 0 ? 31 : 37);
    find[2 + i].link = links[i];
  }
  find.insert(find.end(), months.begin(), months.end());
  return find;
}

class SampleScenariosTest : public SampleSession {};

TEST_F(SampleScenariosTest, ImportAndSixthTypeQuestions) {
  const struct {
    const char* user;
    int first, last, adjustment;
    bool imports;
    bool sixthType;
  } cases[] = {
      {"user1", 1, 12, 18, true, false},  // the March import payment is in the year
      {"user1", 1, 11, 0, false, false},  // April to February leaves it out
      {"user2", 1, 12, 18, false, true},  // October to September
      {"user2", 7, 12, 18, false, true},  // April to September: the May entry
      {"user2", 1, 5, 0, false, false},   // October to February
      {"user6", 1, 6, 15, false, false},
  };
  for (const auto& c : cases) {
    SelectUser(c.user);
    std::vector<StFINDINFO> months = MonthFind(c.first, c.last, c.adjustment);
    ClRuleShiwake rule;
    int count = -1;
    ASSERT_EQ(rule.CheckExistSwkByJigyoBunrui(months.data(), 6, &count), 0);
    EXPECT_EQ(count > 0, c.sixthType) << c.user << " " << c.first << "-" << c.last;
    std::vector<StFINDINFO> imports = ImportFind(months);
    ASSERT_EQ(rule.GetSwkCount(imports.data(), nullptr, &count), 0);
    EXPECT_EQ(count > 0, c.imports) << c.user << " " << c.first << "-" << c.last;
  }
}

TEST_F(SampleScenariosTest, GeneralCorporationHasFiguresAtEveryRate) {
  StTAXREPORTRATEINFO rates[5];
  StTAXREPORTBUSINESSTYPEINFO types[30];
  std::memset(rates, 0, sizeof rates);
  std::memset(types, 0, sizeof types);
  const int table[5][2] = {{1000, 0}, {800, 1}, {800, 0}, {500, 0}, {300, 0}};
  for (int r = 0; r < 5; ++r) {
    rates[r].rate = table[r][0];
    rates[r].reduced = static_cast<std::uint8_t>(table[r][1]);
    for (int k = 0; k < 6; ++k) {
      types[6 * r + k].rate = table[r][0];
      types[6 * r + k].reduced = static_cast<std::uint8_t>(table[r][1]);
      types[6 * r + k].businessType = static_cast<std::uint8_t>(k + 1);
    }
  }
  std::vector<StFINDINFO> year = MonthFind(1, 12, 18);
  ClRuleShohizeiShinkoku rule;
  ASSERT_EQ(rule.SetCurDataID("GEN2019"), 0);
  ASSERT_EQ(rule.SumTax(2, year.data(), rates, types), 0);
  EXPECT_GT(rates[0].AmountAt(9), 0);    // 10 % taxable sales
  EXPECT_GT(rates[1].AmountAt(9), 0);    // reduced 8 %
  EXPECT_GT(rates[2].AmountAt(9), 0);    // standard 8 %: superseded-rate figures exist
  EXPECT_GT(rates[3].AmountAt(65), 0);   // 5 % return
  EXPECT_GT(rates[4].AmountAt(401), 0);  // 3 % bad debt
  EXPECT_EQ(rates[0].AmountAt(33) * 20, Yen(1000000));  // securities at their price
  EXPECT_EQ(rates[0].AmountAt(185), Yen(78000));
  EXPECT_EQ(rates[0].AmountAt(477), Yen(22000));
  std::int64_t typed = 0;
  for (int k = 0; k < 6; ++k) {
    std::int64_t amount = 0;
    std::memcpy(&amount, reinterpret_cast<const unsigned char*>(&types[k]) + 24, sizeof amount);
    typed += amount;
  }
  // Sales of fixed assets carry no business type, so the typed sales fall short of the total.
  EXPECT_GT(typed, 0);
  EXPECT_LT(typed, rates[0].AmountAt(9));
}

// What users 8 to 12 add to the sample as a whole: every tax category the business core knows,
// entries at the older rates, a side pair of taxable purchases, an account skipped by byte 128.
TEST_F(SampleScenariosTest, LaterUsersFillTheGaps) {
  // user11's suspense account is skipped in account sums by its byte 128.
  SelectUser("user11");
  ClRuleKamoku sums;
  ASSERT_EQ(sums.MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
  StKAMOKUSUMINFO sum;
  int skipped = 0;
  while (sums.MoveNext(&sum) == 0) skipped += sum.skip128 == 1 ? 1 : 0;
  EXPECT_EQ(skipped, 1);

  std::set<int> categories;
  int olderRates = 0;
  int bothTaxablePurchases = 0;
  auto taxablePurchase = [](int c) { return (c >= 21 && c <= 23) || (c >= 25 && c <= 29); };
  for (int user = 1; user <= 12; ++user) {
    SelectUser("user" + std::to_string(user));
    ClRuleShiwake rule;
    ASSERT_EQ(rule.MoveReady(nullptr, nullptr, nullptr, 4), 0);
    StSWKTINFO entry;
    while (rule.MoveNext(&entry) == 0) {
      categories.insert(entry.debitCategory);
      categories.insert(entry.creditCategory);
      olderRates += entry.rate == 500 || entry.rate == 300 ? 1 : 0;
      bothTaxablePurchases +=
          taxablePurchase(entry.debitCategory) && taxablePurchase(entry.creditCategory) ? 1 : 0;
    }
  }
  for (int c = 0; c <= 45; ++c) {
    if (c > 10 && c < 21) continue;  // numbers no category has
    EXPECT_TRUE(categories.count(c)) << "no entry of category " << c;
  }
  EXPECT_GE(olderRates, 10);
  EXPECT_EQ(bothTaxablePurchases, 1);
}

}  // namespace
}  // namespace ledvia::testing
