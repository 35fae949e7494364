// Finds evaluated against a small journal: each case lists the entry numbers it must return.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "accounting/ClRuleShiwake.h"
#include "ledvia/find_sql.h"
#include "ledvia/status_codes.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

using Chain = std::vector<StFINDINFO>;

StFINDINFO Cond(std::int32_t item, std::int16_t side, std::int16_t op, std::int32_t value,
                std::int16_t link, std::int16_t valueType = kFindValueInteger) {
  StFINDINFO entry;
  std::memset(&entry, 0, sizeof entry);
  SetFindCondition(entry, item, side, op, valueType, value);
  entry.link = link;
  return entry;
}

StFINDINFO Month(std::int16_t op, std::int32_t value, std::int16_t link) {
  return Cond(kFindItemMonth, 0, op, value, link, kFindValueMonth);
}

StFINDINFO Nested(std::uint32_t distance, std::int16_t link) {
  StFINDINFO entry;
  std::memset(&entry, 0, sizeof entry);
  entry.item = kFindItemNested;
  entry.nested = distance;
  entry.link = link;
  return entry;
}

class FindTest : public OwnCompany {
 protected:
  void SetUp() override {
    OwnCompany::SetUp();
    AddData();
    // Entry n: month index, debit category, credit category, debit account.
    const struct {
      int date, monthIndex, debitCategory, creditCategory, debitAccount;
    } entries[] = {
        {20200410, 0, 21, 0, chart::kPurchases},      // 1: month 1
        {20200510, 0, 0, 1, chart::kReceivable},      // 2: month 2
        {20200610, 0, 33, 0, chart::kPrepaidTax},     // 3: month 3
        {20200930, 15, 0, 31, chart::kCash},          // 4: interim adjustment
        {20210310, 0, 24, 37, chart::kRent},          // 5: month 12
        {20210331, 18, 30, 0, chart::kClosingStock},  // 6: year-end adjustment
    };
    for (const auto& e : entries) {
      EntrySpec entry;
      entry.date = e.date;
      entry.monthIndex = e.monthIndex;
      entry.debitAccount = e.debitAccount;
      entry.debitAmount = Yen(100);
      entry.debitCategory = e.debitCategory;
      entry.creditAccount = chart::kBank;
      entry.creditAmount = Yen(100);
      entry.creditCategory = e.creditCategory;
      ASSERT_EQ(writer_.AddEntry(1, entry), 0) << writer_.Error();
    }
    Attach();
  }

  // Entry numbers the journal rule returns for `find`, or {-code} when it refuses it.
  std::vector<int> Matches(const StFINDINFO* find) {
    ClRuleShiwake rule;
    int count = -1;
    int code = rule.GetSwkCount(find, nullptr, &count);
    if (code != 0) return {-code};
    std::vector<int> found;
    if (rule.MoveReady(find, nullptr, nullptr, 4) != 0) return {-1};
    StSWKTINFO entry;
    while (rule.MoveNext(&entry) == 0) found.push_back(entry.entryNo);
    // A finished walk stays finished instead of starting over.
    EXPECT_EQ(rule.MoveNext(&entry), kEndOfData);
    rule.MoveFinish();
    EXPECT_EQ(count, static_cast<int>(found.size()));
    return found;
  }
};

TEST_F(FindTest, ChainsOfConditions) {
  const struct {
    const char* name;
    Chain find;
    std::vector<int> expected;
  } cases[] = {
      {"month range",
       {Month(kFindOpGreaterEqual, 2, 1), Month(kFindOpLessEqual, 12, 0)},
       {2, 3, 5}},
      {"range or year-end adjustment",
       {Month(kFindOpGreaterEqual, 1, 1), Month(kFindOpLessEqual, 12, 2),
        Month(kFindOpEqual, 18, 0)},
       {1, 2, 3, 5, 6}},
      {"AND binds tighter than OR",  // month 15 OR (month >= 12 AND month < 18)
       {Month(kFindOpEqual, 15, 2), Month(kFindOpGreaterEqual, 12, 1), Month(kFindOpLess, 18, 0)},
       {4, 5}},
      {"debit side only", {Cond(kFindItemTaxCategory, 1, kFindOpEqual, 21, 0)}, {1}},
      {"credit side only", {Cond(kFindItemTaxCategory, 2, kFindOpGreaterEqual, 31, 0)}, {4, 5}},
      {"either side", {Cond(kFindItemTaxCategory, 0, kFindOpEqual, 0, 0)}, {1, 2, 3, 4, 6}},
      {"account classification",
       {Cond(kFindItemClassCode, 1, kFindOpEqual, 0x20400000, 0, kFindValueClassCode)},
       {1}},
      {"16-bit month value ignores the upper half", {Month(kFindOpEqual, 0x10000 + 3, 0)}, {3}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(c.find.data()), c.expected) << c.name;
  }
}

TEST_F(FindTest, NestedGroups) {
  // (debit 31..37 OR credit 31..37) AND (month 1..12 OR 18): the import question of a year.
  Chain find = {
      Nested(2, kFindLinkAnd),                                               // 0 -> 2
      Nested(5, kFindLinkNone),                                              // 1 -> 6
      Cond(kFindItemTaxCategory, 1, kFindOpGreaterEqual, 31, kFindLinkAnd),  // 2
      Cond(kFindItemTaxCategory, 1, kFindOpLessEqual, 37, kFindLinkOr),      // 3
      Cond(kFindItemTaxCategory, 2, kFindOpGreaterEqual, 31, kFindLinkAnd),  // 4
      Cond(kFindItemTaxCategory, 2, kFindOpLessEqual, 37, kFindLinkNone),    // 5
      Month(kFindOpGreaterEqual, 1, kFindLinkAnd),                           // 6
      Month(kFindOpLessEqual, 12, kFindLinkOr),
      Month(kFindOpEqual, 18, kFindLinkNone),
  };
  EXPECT_EQ(Matches(find.data()), (std::vector<int>{3, 5}));
  // The same with the month group ending at 15 instead of 18 picks up the interim entry.
  find[8] = Month(kFindOpEqual, 15, kFindLinkNone);
  EXPECT_EQ(Matches(find.data()), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(Matches(nullptr), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(FindTest, FindsItCannotReadAreRefused) {
  const struct {
    const char* name;
    Chain find;
  } cases[] = {
      {"unknown operator", {Cond(kFindItemMonth, 0, 3, 1, 0, kFindValueMonth)}},
      {"unknown item", {Cond(42, 0, kFindOpEqual, 1, 0)}},
      {"asset item on journal", {Cond(kFindItemAssetDate, 0, kFindOpEqual, 20200401, 0)}},
      {"unknown side", {Cond(kFindItemTaxCategory, 3, kFindOpEqual, 1, 0)}},
      {"unknown value type", {Cond(kFindItemMonth, 0, kFindOpEqual, 1, 0, 7)}},
      {"unknown link", {Month(kFindOpEqual, 1, 3), Month(kFindOpEqual, 2, 0)}},
      {"nested pointing at itself", {Nested(0, 0)}},
      {"empty entry", {Cond(0, 0, 0, 0, 0, 0)}},
      {"trailing link", {Month(kFindOpEqual, 1, kFindLinkAnd), Cond(0, 0, 0, 0, 0, 0)}},
      {"nested group with a trailing link",
       {Nested(1, kFindLinkNone), Month(kFindOpEqual, 1, kFindLinkOr), Cond(0, 0, 0, 0, 0, 0)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(c.find.data()), (std::vector<int>{-kBadFind})) << c.name;
  }
  // A chain that never ends is cut off instead of being read past its array.
  std::vector<StFINDINFO> endless(kMaxFindChain + 1, Month(kFindOpEqual, 1, kFindLinkOr));
  EXPECT_EQ(Matches(endless.data()), (std::vector<int>{-kBadFind}));
  // Nested groups that nest themselves without end are refused by depth.
  std::vector<StFINDINFO> deep(kMaxFindDepth + 3, Nested(1, kFindLinkNone));
  deep.back() = Month(kFindOpEqual, 1, 0);
  EXPECT_EQ(Matches(deep.data()), (std::vector<int>{-kBadFind}));
  // Eight levels of four groups that all share the next level: 4^8 conditions from 33
  // entries, refused before the SQL grows with them.
  std::vector<StFINDINFO> wide;
  for (int level = 0; level < kMaxFindDepth; ++level) {
    for (int j = 0; j < 4; ++j) {
      std::uint32_t at = static_cast<std::uint32_t>(wide.size());
      wide.push_back(Nested(4 * (level + 1) - at, j < 3 ? kFindLinkOr : kFindLinkNone));
    }
  }
  wide.push_back(Month(kFindOpEqual, 1, 0));
  EXPECT_EQ(Matches(wide.data()), (std::vector<int>{-kBadFind}));
}

// Entry numbers of the fixture's journal that a plain SQL condition selects.
std::vector<int> PlainQuery(const std::string& path, const std::string& where) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  std::string sql = "SELECT entry_no FROM journal WHERE " + where + " ORDER BY entry_no";
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << where;
  std::vector<int> found;
  while (sqlite3_step(stmt) == SQLITE_ROW) found.push_back(sqlite3_column_int(stmt, 0));
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return found;
}

// A condition on either side is one alternative: next to another condition it must stay
// grouped, or the other condition would bind to one side only.
TEST_F(FindTest, EitherSideNextToAnotherConditionStaysGrouped) {
  const std::int16_t either = kFindSideEither;
  const struct {
    Chain find;
    const char* plain;
  } cases[] = {
      {{Cond(kFindItemTaxCategory, either, kFindOpEqual, 21, kFindLinkAnd),
        Month(kFindOpGreaterEqual, 2, kFindLinkNone)},
       "(debit_category = 21 OR credit_category = 21) AND month_index >= 2"},
      {{Month(kFindOpLessEqual, 3, kFindLinkAnd),
        Cond(kFindItemTaxCategory, either, kFindOpGreaterEqual, 31, kFindLinkNone)},
       "month_index <= 3 AND (debit_category >= 31 OR credit_category >= 31)"},
      {{Cond(kFindItemTaxCategory, either, kFindOpEqual, 0, kFindLinkAnd),
        Cond(kFindItemTaxCategory, either, kFindOpGreaterEqual, 31, kFindLinkNone)},
       "(debit_category = 0 OR credit_category = 0) AND (debit_category >= 31 OR "
       "credit_category >= 31)"},
      {{Cond(kFindItemClassCode, either, kFindOpEqual, 0x20400000, kFindLinkAnd,
             kFindValueClassCode),
        Month(kFindOpGreaterEqual, 2, kFindLinkNone)},
       "month_index >= 2 AND (debit_account = 510 OR credit_account = 510)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(c.find.data()), PlainQuery(path_, c.plain)) << c.plain;
  }
}

TEST(FindSqlTest, ValuesAreBoundNotPasted) {
  StFINDINFO entry;
  std::memset(&entry, 0, sizeof entry);
  SetFindCondition(entry, kFindItemClassCode, 0, kFindOpEqual, kFindValueClassCode,
                   static_cast<std::int32_t>(0x80884400u));
  SqlCondition condition;
  ASSERT_EQ(TranslateFind(&entry, FindTarget::kAccounts, 2, &condition), 0);
  EXPECT_EQ(condition.sql.find("2156414976"), std::string::npos) << condition.sql;
  EXPECT_NE(condition.sql.find("?2"), std::string::npos) << condition.sql;
  // Classification codes are unsigned 32-bit.
  EXPECT_EQ(condition.params, (std::vector<std::int64_t>{0x80884400LL}));
}

}  // namespace
}  // namespace ledvia::testing
