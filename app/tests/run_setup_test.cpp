// What the run prepares before the aggregation: the month find of the chosen months and the
// texts of the conditions dialog.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "aggregate/run_month_find.h"
#include "app/conditions_texts.h"
#include "app/edition.h"

namespace {

// The month indices and adjustments a find selects: entry 1 and 2 values, then the third and
// fourth entries' values (0 when absent).
std::vector<int> Entries(const MonthFind& find) {
  std::vector<int> values = {find.FirstIndex(), find.LastIndex()};
  for (int month : find.Adjustments()) values.push_back(month);
  return values;
}

TEST(RunMonthFind, MonthsBecomeIndicesOfTheAccountingYear) {
  const struct {
    MonthRange period;  // first month, last month (+100 past December)
    int start, end;
    bool interim;
    std::vector<int> entries;
  } cases[] = {
      // The examples of the run itself (April to March; months 4 to 9 with interim closing;
      // January to December, months 3 to 5) run end to end on the sample data. Without interim
      // closing a first half has no adjustment.
      {{4, 103}, 4, 9, false, {1, 6}},
      // The interim adjustment follows only a range ending with month index 6.
      {{4, 103}, 4, 10, true, {1, 7}},
      // A half year that ends the accounting year takes both adjustments.
      {{10, 103}, 10, 3, true, {1, 6, 15, 18}},
      // Ranges across the turn of the calendar year.
      {{4, 103}, 12, 1, false, {9, 10}},
      {{4, 103}, 1, 3, false, {10, 12, 18}},
      {{1, 12}, 1, 12, false, {1, 12, 18}},
  };
  for (const auto& c : cases) {
    MonthFind find = BuildRunMonthFind(c.period, c.start, c.end, c.interim);
    EXPECT_EQ(Entries(find), c.entries)
        << c.period.first << "-" << c.period.last << ": " << c.start << " to " << c.end;
  }
}

TEST(ConditionsTexts, FromTheDataAndItsTaxSettings) {
  StDATAINFO data;
  std::memset(&data, 0, sizeof data);
  std::strcpy(data.companyName, "株式会社ルミナ商事");
  data.periodStart = 20190401;
  data.periodEnd = 20200331;
  const struct {
    std::uint8_t kind, deduction, businessType;
    const char* taxation;
    const char* label;
    const char* value;
  } cases[] = {
      {0, 0, 0, " 免税", "", ""},
      {1, 1, 0, " 簡易課税", "主となる事業分類", " 指定なし"},
      {1, 0, 6, " 簡易課税", "主となる事業分類", " 第六種事業 不動産業"},
      {1, 0, 7, " 簡易課税", "主となる事業分類", " "},
      {2, 0, 3, " 原則課税", "課税仕入控除", " 個別対応方式"},
      {2, 1, 0, " 原則課税", "課税仕入控除", " 一括比例配分方式"},
      {3, 0, 0, " ", "", ""},
  };
  for (const auto& c : cases) {
    StSHOHIZEIINFO settings;
    std::memset(&settings, 0, sizeof settings);
    settings.taxationKind = c.kind;
    settings.deductionMethod = c.deduction;
    settings.mainBusinessType = c.businessType;
    ConditionsSetup setup;
    FillConditionsTexts(setup, data, settings);
    EXPECT_EQ(setup.companyName, " 株式会社ルミナ商事");
    EXPECT_EQ(setup.periodText, " 2019/04/01～2020/03/31");
    EXPECT_EQ(setup.taxationText, c.taxation) << int{c.kind};
    EXPECT_EQ(setup.deductionLabel, c.label) << int{c.kind};
    EXPECT_EQ(setup.deductionValue, c.value) << int{c.kind} << " " << int{c.businessType};
  }
}

}  // namespace

// Only these constants tell the three programs apart.
TEST(Editions, NamesAppTypesAndSettingsFiles) {
  const struct {
    const char* name;
    ClSysEnvMgr::_AppType appType;
    const char* programName;
    const char* settingsFileName;
  } cases[] = {
      {"moravel", ClSysEnvMgr::APPTYPE_ARVELLE, "Ledvia２０ Arvelle", "Moravel.env"},
      {"tessaly", ClSysEnvMgr::APPTYPE_STANDARD, "Ledvia２０", "Tessaly.env"},
      {"brenwick", ClSysEnvMgr::APPTYPE_TIVERNO, "Ledvia２０ Tiverno", "Brenwick.env"},
  };
  ASSERT_EQ(Editions().size(), std::size(cases));
  for (const auto& c : cases) {
    const Edition* edition = EditionNamed(c.name);
    ASSERT_NE(edition, nullptr) << c.name;
    EXPECT_EQ(edition->appType, c.appType);
    EXPECT_STREQ(edition->programName, c.programName);
    EXPECT_STREQ(edition->settingsFileName, c.settingsFileName);
  }
  EXPECT_EQ(EditionNamed("Moravel"), nullptr);
}
