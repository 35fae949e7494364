// Rule objects and the save object on small companies written by the tests.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "accounting/ClRuleGenkashokyaku.h"
#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClRuleShohizei.h"
#include "accounting/ClRuleShohizeiShinkoku.h"
#include "accounting/ClSaveTaxShiryo.h"
#include "accounting/StSaveTaxInfo.h"
#include "ledvia/status_codes.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

EntrySpec Entry(int date, int debit, int credit, std::int64_t yen, std::int64_t taxYen = 0,
                int monthIndex = 0, int dept = 0) {
  EntrySpec entry;
  entry.date = date;
  entry.monthIndex = monthIndex;
  entry.debitAccount = debit;
  entry.debitDept = dept;
  entry.debitAmount = Yen(yen);
  entry.debitTax = Yen(taxYen);
  entry.debitCategory = 21;
  entry.creditAccount = credit;
  entry.creditDept = dept;
  entry.creditAmount = Yen(yen + taxYen);
  entry.rate = 1000;
  return entry;
}

class RulesTest : public OwnCompany {
 protected:
  void Add(const EntrySpec& entry) { ASSERT_EQ(writer_.AddEntry(1, entry), 0) << writer_.Error(); }

  // Account sums by code, read through a prepared rule.
  std::map<int, StKAMOKUSUMINFO> AccountSums(const StBUMONINFO* department = nullptr) {
    ClRuleKamoku rule;
    EXPECT_EQ(rule.SetCurDataID("T1"), 0);
    EXPECT_EQ(rule.MoveReady(1, department != nullptr ? 4 : 0, 0, nullptr, department, 0), 0);
    int count = 0;
    EXPECT_EQ(rule.GetSumCount(&count), 0);
    EXPECT_EQ(rule.SetMovePos(0), 0);
    std::map<int, StKAMOKUSUMINFO> sums;
    StKAMOKUSUMINFO info;
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(rule.MoveNext(&info), 0);
      sums[info.accountCode] = info;
    }
    EXPECT_EQ(rule.MoveNext(&info), kEndOfData);
    EXPECT_EQ(rule.MoveNext(&info), kEndOfData);  // and stays at the end
    EXPECT_EQ(rule.MoveFinish(), 0);
    return sums;
  }
};

TEST_F(RulesTest, AccountSumsByMonthWithTotalsAndAdjustments) {
  AddData();
  Add(Entry(20200410, chart::kSalaries, chart::kBank, 1000, 100));  // month 1
  Add(Entry(20200915, chart::kTravel, chart::kBank, 200, 20));      // month 6
  Add(Entry(20200930, chart::kTravel, chart::kBank, 30, 0, 15));    // interim
  Add(Entry(20210331, chart::kSalaries, chart::kBank, 5, 0, 18));   // year-end
  Add(Entry(20210310, chart::kBank, chart::kSalaries, 40));         // month 12 credit
  Attach();
  std::map<int, StKAMOKUSUMINFO> sums = AccountSums();
  const StKAMOKUSUMINFO& salaries = sums.at(chart::kSalaries);
  EXPECT_EQ(salaries.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1), Yen(1000));
  EXPECT_EQ(salaries.MonthAmount(StKAMOKUSUMINFO::kDebitIncluded, 1), Yen(1100));
  EXPECT_EQ(salaries.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, kAccountSumYearEndIndex), Yen(5));
  EXPECT_EQ(salaries.MonthAmount(StKAMOKUSUMINFO::kCreditExcluded, 12), Yen(40));
  EXPECT_EQ(salaries.classCode, 0x40882040);
  EXPECT_EQ(salaries.totalFlag, 0);
  const StKAMOKUSUMINFO& travel = sums.at(chart::kTravel);
  EXPECT_EQ(travel.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 6), Yen(200));
  EXPECT_EQ(travel.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, kAccountSumInterimIndex), Yen(30));
  // The total account sums the accounts below it, month by month.
  const StKAMOKUSUMINFO& total = sums.at(chart::kSgaTotal);
  EXPECT_EQ(total.totalFlag, 1);
  EXPECT_EQ(total.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1), Yen(1000));
  EXPECT_EQ(total.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 6), Yen(200));
  EXPECT_EQ(total.MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, kAccountSumInterimIndex), Yen(30));
  EXPECT_EQ(total.MonthAmount(StKAMOKUSUMINFO::kCreditExcluded, 12), Yen(40));
  const StKAMOKUSUMINFO& bank = sums.at(chart::kBank);
  EXPECT_EQ(bank.MonthAmount(StKAMOKUSUMINFO::kCreditIncluded, 1), Yen(1100));
  EXPECT_EQ(bank.normalSide, 1);
  EXPECT_EQ(sums.at(chart::kSundry).skip126, 1);
  EXPECT_EQ(sums.at(chart::kSales).MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1), 0);
}

TEST_F(RulesTest, AccountSumsOfOneDepartment) {
  AddData();
  ASSERT_EQ(writer_.AddDepartment(1, 1, "本店", 1, 0, 1), 0);
  ASSERT_EQ(writer_.AddDepartment(1, 2, "支店", 2, 0, 3), 0);
  Add(Entry(20200410, chart::kRent, chart::kBank, 100, 0, 0, 1));
  Add(Entry(20200411, chart::kRent, chart::kBank, 20, 0, 0, 2));
  Add(Entry(20200412, chart::kRent, chart::kBank, 3, 0, 0, 0));
  Attach();
  StBUMONINFO second;
  std::memset(&second, 0, sizeof second);
  second.code = 2;
  EXPECT_EQ(AccountSums(&second).at(chart::kRent).MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1),
            Yen(20));
  EXPECT_EQ(AccountSums().at(chart::kRent).MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1),
            Yen(123));
  // The sums a session read are not carried into the next session, of another file.
  CompanyWriter other;
  std::string otherPath = folder_.File("other.db");
  ASSERT_EQ(other.Create(otherPath), 0) << other.Error();
  ASSERT_EQ(other.AddData(data_), 0) << other.Error();
  ASSERT_EQ(chart::AddChart(other, data_.dataNo), 0) << other.Error();
  ASSERT_EQ(other.AddUser("user1", 1, data_.dataNo), 0) << other.Error();
  ASSERT_EQ(other.AddEntry(1, Entry(20200410, chart::kRent, chart::kBank, 7)), 0);
  ASSERT_EQ(other.Finish(), 0) << other.Error();
  ASSERT_EQ(OpenCompanyDatabase(otherPath), 0);
  EXPECT_EQ(AccountSums().at(chart::kRent).MonthAmount(StKAMOKUSUMINFO::kDebitExcluded, 1), Yen(7));
}

TEST_F(RulesTest, SetMovePosSkipsAccounts) {
  AddData();
  Attach();
  ClRuleKamoku rule;
  ASSERT_EQ(rule.MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
  int count = 0;
  ASSERT_EQ(rule.GetSumCount(&count), 0);
  ASSERT_GT(count, 2);
  StKAMOKUSUMINFO first;
  StKAMOKUSUMINFO third;
  ASSERT_EQ(rule.MoveNext(&first), 0);
  ASSERT_EQ(rule.SetMovePos(2), 0);
  ASSERT_EQ(rule.MoveNext(&third), 0);
  EXPECT_EQ(first.accountCode, chart::kCash);
  EXPECT_EQ(third.accountCode, chart::kReceivable);
  EXPECT_NE(rule.SetMovePos(count + 1), 0);
  ClRuleKamoku unready;
  EXPECT_EQ(unready.MoveNext(&first), kNotReady);
}

TEST_F(RulesTest, TaxSumsPerAccountAtOneRate) {
  AddData();
  Add(Entry(20200410, chart::kAssetSaleLoss, chart::kBank, 1000, 100));
  EntrySpec gain = Entry(20200510, chart::kBank, chart::kAssetSaleGain, 300);
  gain.debitCategory = 0;
  gain.creditCategory = 1;
  gain.creditTax = Yen(30);
  gain.creditAmount = Yen(300);
  gain.debitAmount = Yen(330);
  Add(gain);
  EntrySpec other = Entry(20200610, chart::kAssetSaleLoss, chart::kBank, 50, 4);
  other.rate = 800;
  Add(other);
  Add(Entry(20210331, chart::kAssetSaleLoss, chart::kBank, 7, 0, 18));
  Add(Entry(20200930, chart::kAssetSaleLoss, chart::kBank, 30, 0, 15));
  Add(Entry(20201015, chart::kAssetSaleLoss, chart::kBank, 2));  // month 7
  Attach();
  // Last month 15 is the first half year with its interim adjustment; 18 the whole year with
  // the year-end adjustment only. One rule answers every walk, as in a stage.
  const struct {
    int last;
    int inclusive;
    int rate;
    std::int64_t loss, gain;
  } cases[] = {{12, 0, 1000, 1002, -300}, {12, 1, 1000, 1102, -330}, {18, 0, 1000, 1009, -300},
               {15, 0, 1000, 1030, -300}, {12, 1, 800, 54, 0},       {2, 0, 800, 0, 0}};
  ClRuleShohizei rule;
  for (const auto& c : cases) {
    ASSERT_EQ(rule.MoveReady(2, 1, c.last, c.rate, nullptr, c.inclusive, 0, 0, 0), 0);
    int count = 0;
    ASSERT_EQ(rule.GetSumInfoCount(&count), 0);
    std::map<std::string, std::int64_t> amounts;
    StTAXSUMINFO info;
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(rule.MoveNext(&info), 0);
      amounts[info.codeText] = info.amount;
    }
    EXPECT_EQ(rule.MoveNext(&info), kEndOfData);
    EXPECT_EQ(amounts["860"], Yen(c.loss)) << c.last << " " << c.inclusive << " " << c.rate;
    EXPECT_EQ(amounts["850"], Yen(c.gain)) << c.last << " " << c.inclusive << " " << c.rate;
    EXPECT_EQ(amounts.count("110"), 0u);  // out-of-scope sides carry no rate
  }
}

TEST_F(RulesTest, FixedAssetsOfADateRange) {
  AddData();
  ASSERT_EQ(writer_.AddAsset(1, 1, "before", 20200331, 1, Yen(10), 1), 0);
  ASSERT_EQ(writer_.AddAsset(1, 2, "first day", 20200401, 1, Yen(20), 1), 0);
  ASSERT_EQ(writer_.AddAsset(1, 3, "deferred", 20201001, 9, Yen(30), 2), 0);
  ASSERT_EQ(writer_.AddAsset(1, 4, "last day", 20210331, 2, Yen(40), 1), 0);
  Attach();
  StFINDINFO find[2];
  std::memset(find, 0, sizeof find);
  SetFindCondition(find[0], kFindItemAssetDate, 0, kFindOpGreaterEqual, kFindValueInteger,
                   20200401);
  find[0].link = kFindLinkAnd;
  SetFindCondition(find[1], kFindItemAssetDate, 0, kFindOpLessEqual, kFindValueInteger, 20210331);
  ClRuleGenkashokyaku rule;
  ASSERT_EQ(rule.MoveReady(find, 0, 0), 0);
  int count = 0;
  ASSERT_EQ(rule.GetCount(&count), 0);
  ASSERT_EQ(count, 3);
  StKOTEISHISANINFO asset;
  StKOTEINENINFO yearly;
  StKOTEITSUKIINFO monthly;
  std::vector<std::int64_t> amounts;
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(rule.Move(i, &asset, &yearly, &monthly), 0);
    amounts.push_back(asset.amount);
  }
  EXPECT_EQ(amounts, (std::vector<std::int64_t>{Yen(20), Yen(30), Yen(40)}));
  ASSERT_EQ(rule.Move(1, &asset, &yearly, &monthly), 0);  // going back
  EXPECT_EQ(asset.kind, kAssetKindDeferred);
  EXPECT_EQ(asset.incomeCategory, 2);
  EXPECT_EQ(rule.Move(3, &asset, &yearly, &monthly), kEndOfData);
  EXPECT_EQ(rule.Move(4, &asset, &yearly, &monthly), kEndOfData);  // never wraps to the first
  EXPECT_EQ(rule.MoveFinish(), 0);
}

TEST_F(RulesTest, BusinessTypeCheck) {
  AddData();
  EntrySpec sixth = Entry(20200510, chart::kReceivable, chart::kSales, 100);
  sixth.businessType = 6;
  Add(sixth);
  Add(sixth);
  sixth.businessType = 2;
  Add(sixth);
  Attach();
  ClRuleShiwake rule;
  int count = -1;
  ASSERT_EQ(rule.CheckExistSwkByJigyoBunrui(nullptr, 6, &count), 0);
  EXPECT_EQ(count, 2);
  StFINDINFO month;
  std::memset(&month, 0, sizeof month);
  SetFindCondition(month, kFindItemMonth, 0, kFindOpEqual, kFindValueMonth, 1);
  ASSERT_EQ(rule.CheckExistSwkByJigyoBunrui(&month, 6, &count), 0);
  EXPECT_EQ(count, 0);
}

TEST_F(RulesTest, SavedFiguresAndRefusedDataIds) {
  AddData();
  ASSERT_EQ(writer_.AddSavedFigure(1, StSaveTaxInfo::kPeriodStart, 4, 20200401), 0);
  ASSERT_EQ(writer_.AddSavedFigure(1, 24568, 8, -Yen(5)), 0);  // the last eight bytes
  ASSERT_EQ(writer_.AddSavedFigure(1, StSaveTaxInfo::kInterimClosing, 1, 2), 0);
  Attach();
  std::vector<unsigned char> buffer(kSavedFiguresBufferSize, 0xab);
  ClSaveTaxShiryo save;
  ASSERT_EQ(save.SetCurDataID("T1"), 0);
  ASSERT_EQ(save.GetTaxSaveInfo(buffer.data()), 0);
  EXPECT_EQ(StSaveTaxInfo::Int32(buffer.data(), StSaveTaxInfo::kPeriodStart), 20200401);
  EXPECT_EQ(StSaveTaxInfo::Int64(buffer.data(), 24568), -Yen(5));
  EXPECT_EQ(buffer[StSaveTaxInfo::kInterimClosing], 2);
  EXPECT_EQ(buffer[0], 0xab);  // bytes without a saved figure are left alone
  // A refused id does not fall back to the selected data.
  ClSaveTaxShiryo other;
  EXPECT_EQ(other.SetCurDataID("T2"), kNotFound);
  std::vector<unsigned char> untouched(kSavedFiguresBufferSize, 0);
  EXPECT_EQ(other.GetTaxSaveInfo(untouched.data()), kNotFound);
  EXPECT_EQ(StSaveTaxInfo::Int32(untouched.data(), StSaveTaxInfo::kPeriodStart), 0);
  // A row that only a writer ignoring the schema's checks could store: refused, never written
  // outside the buffer. The session reads the state it attached to, so it attaches again.
  CloseCompanyDatabase();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db,
                         "PRAGMA ignore_check_constraints = ON; INSERT INTO saved_figures "
                         "VALUES (1, 9223372036854775807, 8, 1)",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ASSERT_EQ(OpenCompanyDatabase(path_), 0);
  EXPECT_EQ(save.GetTaxSaveInfo(buffer.data()), kBadData);
}

TEST_F(RulesTest, MonthIndicesFollowTheClosingDay) {
  data_.periodStart = 20191221;
  data_.periodEnd = 20201220;
  data_.closingDay = 20;
  AddData();
  for (int date : {20191221, 20200120, 20200121, 20200229, 20201220}) {
    Add(Entry(date, chart::kSupplies, chart::kCash, 1));
  }
  EntrySpec outside = Entry(20201221, chart::kSupplies, chart::kCash, 1);
  EXPECT_NE(writer_.AddEntry(1, outside), 0);  // after the period: refused, not misfiled
  Attach();
  ClRuleShiwake rule;
  ASSERT_EQ(rule.MoveReady(nullptr, nullptr, nullptr, 4), 0);
  std::vector<int> months;
  StSWKTINFO entry;
  while (rule.MoveNext(&entry) == 0) months.push_back(entry.monthIndex);
  EXPECT_EQ(months, (std::vector<int>{1, 1, 2, 3, 12}));
}

// Figures that leave 64 bits: a tax-included figure SQL would turn into a real number (and the
// business core would clamp), or a sum of many sides. Each is refused with 5106, whether the
// sums come from the journal summaries or from the journal itself.
TEST_F(RulesTest, FiguresThatLeave64BitsAreRefused) {
  AddData();
  const std::int64_t kNearTop = INT64_MAX - Yen(10);
  EntrySpec big = Entry(20200410, chart::kAssetSaleLoss, chart::kBank, 0);
  big.debitAmount = kNearTop;
  big.debitTax = Yen(100);  // amount plus tax is past the top, each alone is not
  big.creditAmount = Yen(1);
  Add(big);
  Attach();
  std::string plain = folder_.File("plain.db");
  CopyAsVersion(path_, plain, 1);
  // Only tax-included figures leave 64 bits in this company.
  const struct {
    const char* call;
    int inclusive;
    int expected;
  } calls[] = {
      {"account sums", 0, kBadData},  // their arrays always hold the tax-included figure
      {"tax sums, tax-excluded", 0, kOk},
      {"tax sums, tax-included", 1, kBadData},
  };
  for (const std::string& file : {path_, plain}) {
    ASSERT_EQ(OpenCompanyDatabase(file), 0);
    for (const auto& c : calls) {
      ClRuleKamoku sums;
      ClRuleShohizei taxSums;
      int code = c.call[0] == 'a'
                     ? sums.MoveReady(1, 0, 0, nullptr, nullptr, 0)
                     : taxSums.MoveReady(2, 1, 12, 1000, nullptr, c.inclusive, 0, 0, 0);
      EXPECT_EQ(code, c.expected) << c.call << " in " << file;
    }
  }
}

TEST_F(RulesTest, SumsThatLeave64BitsAreRefused) {
  AddData();
  EntrySpec half = Entry(20200410, chart::kAssetSaleLoss, chart::kBank, 0);
  half.debitAmount = INT64_MAX / 2 + 1;  // two of them are past the top
  half.creditAmount = Yen(1);
  Add(half);
  Add(half);
  Attach();
  std::string plain = folder_.File("plain.db");
  CopyAsVersion(path_, plain, 1);
  for (const std::string& file : {path_, plain}) {
    ASSERT_EQ(OpenCompanyDatabase(file), 0);
    ClRuleKamoku sums;
    EXPECT_EQ(sums.MoveReady(1, 0, 0, nullptr, nullptr, 0), kBadData) << file;
    ClRuleShohizei taxSums;
    EXPECT_EQ(taxSums.MoveReady(2, 1, 12, 1000, nullptr, 0, 0, 0, 0), kBadData) << file;
    std::vector<StTAXREPORTRATEINFO> rates(5);
    std::vector<StTAXREPORTBUSINESSTYPEINFO> types(30);
    std::memset(rates.data(), 0, rates.size() * sizeof rates[0]);
    std::memset(types.data(), 0, types.size() * sizeof types[0]);
    rates[0].rate = 1000;
    ClRuleShohizeiShinkoku taxReturn;
    EXPECT_EQ(taxReturn.SumTax(2, nullptr, rates.data(), types.data()), kBadData) << file;
  }
}

}  // namespace
}  // namespace ledvia::testing
