// The journal summaries against the journal itself, on generated companies: the triggers keep
// them equal to a plain GROUP BY through every kind of change, and a whole export reads the same
// figures from them as from the journal.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "aggregate/AddTax.h"
#include "ledvia/generated_company.h"
#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

// Rows of `a` missing from `b` and of `b` missing from `a`.
int Difference(sqlite3* db, const std::string& a, const std::string& b) {
  std::string sql = "SELECT (SELECT COUNT(*) FROM (" + a + " EXCEPT " + b +
                    ")) + (SELECT COUNT(*) FROM (" + b + " EXCEPT " + a + "))";
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  int rows = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
  sqlite3_finalize(stmt);
  return rows;
}

constexpr const char* kGroupsOfTheJournal =
    "SELECT data_no, month_index, debit_category, credit_category, rate, reduced, business_type, "
    "COUNT(*), SUM(debit_amount), SUM(debit_tax), SUM(credit_amount), SUM(credit_tax) FROM "
    "journal GROUP BY 1, 2, 3, 4, 5, 6, 7";
constexpr const char* kSidesOfTheJournal =
    "(SELECT data_no, debit_dept AS dept, debit_account AS account, 1 AS side, month_index, "
    "debit_category <> 0 AS taxed, rate, reduced, debit_amount AS amount, debit_tax AS tax FROM "
    "journal UNION ALL SELECT data_no, credit_dept, credit_account, 2, month_index, "
    "credit_category <> 0, rate, reduced, credit_amount, credit_tax FROM journal)";
const std::string kDepartmentSidesOfTheJournal =
    std::string(
        "SELECT data_no, dept, account, side, month_index, COUNT(*), SUM(amount), "
        "SUM(tax) FROM ") +
    kSidesOfTheJournal + " GROUP BY 1, 2, 3, 4, 5";
const std::string kTaxedSidesOfTheJournal =
    std::string(
        "SELECT data_no, rate, reduced, month_index, account, side, COUNT(*), "
        "SUM(amount), SUM(tax) FROM ") +
    kSidesOfTheJournal + " WHERE taxed GROUP BY 1, 2, 3, 4, 5, 6";
constexpr const char* kSidesByCategoryOfTheJournal =
    "SELECT data_no, month_index, side, account, dept, category, COUNT(*), SUM(amount), SUM(tax) "
    "FROM (SELECT data_no, month_index, 1 AS side, debit_account AS account, debit_dept AS dept, "
    "debit_category AS category, debit_amount AS amount, debit_tax AS tax FROM journal UNION ALL "
    "SELECT data_no, month_index, 2, credit_account, credit_dept, credit_category, credit_amount, "
    "credit_tax FROM journal) GROUP BY 1, 2, 3, 4, 5, 6";

TEST(JournalSummariesTest, TriggersKeepThemEqualToTheJournal) {
  TempFolder folder;
  std::string path = folder.File("company.db");
  GeneratedCompanyShape shape;
  shape.entries = 3000;
  shape.soleProprietor = true;
  shape.departments = 4;
  std::string error;
  ASSERT_EQ(WriteGeneratedCompany(path, shape, &error), 0) << error;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  const struct {
    const char* change;
    const char* sql;
  } changes[] = {
      {"as written", ""},
      {"amounts, categories, departments and months changed",
       "UPDATE journal SET debit_amount = debit_amount + 7, credit_category = 22, "
       "debit_dept = 3, month_index = 18 WHERE entry_no % 7 = 0"},
      {"categories changed within a side's other groups",
       "UPDATE journal SET debit_category = (debit_category + 5) % 40 WHERE entry_no % 3 = 0"},
      {"entries deleted, whole groups among them",
       "DELETE FROM journal WHERE entry_no % 11 = 0 OR month_index = 18"},
      {"entries added",
       "INSERT INTO journal SELECT data_no, entry_no + 100000, date, month_index, summary, "
       "credit_account, credit_dept, credit_amount, credit_tax, credit_category, debit_account, "
       "debit_dept, debit_amount, debit_tax, debit_category, rate, reduced, business_type FROM "
       "journal WHERE entry_no % 5 = 0"},
  };
  for (const auto& c : changes) {
    ASSERT_EQ(sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    EXPECT_EQ(Difference(db, "SELECT * FROM journal_groups", kGroupsOfTheJournal), 0) << c.change;
    EXPECT_EQ(
        Difference(db, "SELECT * FROM journal_department_totals", kDepartmentSidesOfTheJournal), 0)
        << c.change;
    EXPECT_EQ(Difference(db, "SELECT * FROM journal_taxed_totals", kTaxedSidesOfTheJournal), 0)
        << c.change;
    EXPECT_EQ(Difference(db, "SELECT * FROM journal_side_totals", kSidesByCategoryOfTheJournal), 0)
        << c.change;
  }
  sqlite3_close(db);
}

// What a whole export gets from the business core: the checks' and stages' results, and every
// figure of TaxTotals (the records as their bytes).
struct Export {
  std::vector<std::int64_t> results;
  std::vector<std::int64_t> figures;
  std::string records;
  std::vector<std::int64_t> taxableSales;  // per rate slot, tax-excluded
  bool fromSummaries = false;
  bool sideTotals = false;
  bool departmentTotals = false;
};

Export RunExport(const std::string& path, const MonthFind& months) {
  Export run;
  EXPECT_EQ(OpenCompanyDatabase(path), 0);
  run.fromSummaries = CompanyDatabaseHasSummaries();
  run.sideTotals = CompanyDatabaseHasSideTotals();
  run.departmentTotals = CompanyDatabaseHasDepartmentTotals();
  StDATAINFO data;
  StSHOHIZEIINFO settings;
  std::memset(&data, 0, sizeof data);
  std::memset(&settings, 0, sizeof settings);
  static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&data);
  static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1))->Get(&settings);
  class : public AggregationProgress {
    void ResetActivity() override {}
    void StepActivity(std::int64_t) override {}
    void SweepActivity() override {}
    void FillActivity() override {}
  } progress;
  TaxTotals totals;
  totals.Allocate(kRateSlotCount);
  {
    AggregationEngine engine(progress);
    engine.monthFind() = months;
    engine.SetTaxationKind(settings.taxationKind);
    int sixth = 0;
    run.results.push_back(engine.CountSixthBusinessTypeEntries(&sixth));
    run.results.push_back(engine.HasImportCategoryEntries());
    run.results.push_back(engine.SumTaxByRate(totals));
    run.results.push_back(engine.SumSpecialAccounts(totals, settings));
    run.results.push_back(engine.SumCorporateStatement(totals, data, settings));
    run.results.push_back(engine.SumSoleProprietorStatement(totals, data, settings));
    run.figures.push_back(sixth);
  }
  run.records.assign(reinterpret_cast<const char*>(totals.rateRecords.data()),
                     totals.rateRecords.size() * sizeof(StTAXREPORTRATEINFO));
  run.records.append(reinterpret_cast<const char*>(totals.businessTypeRecords.data()),
                     totals.businessTypeRecords.size() * sizeof(StTAXREPORTBUSINESSTYPEINFO));
  for (const StTAXREPORTRATEINFO& record : totals.rateRecords) {
    run.taxableSales.push_back(record.AmountAt(9));
  }
  run.figures.insert(run.figures.end(), totals.specialAccountSums.begin(),
                     totals.specialAccountSums.end());
  for (const StatementLine* line :
       {&totals.goodsPurchases, &totals.sellingAdminExpenses, &totals.nonOperatingExpenses,
        &totals.otherProfitLoss, &totals.businessPurchases, &totals.businessExpenses,
        &totals.businessFixedAssets, &totals.realEstateExpenses, &totals.realEstateFixedAssets,
        &totals.otherIncomePurchases, &totals.otherIncomeExpenses}) {
    run.figures.push_back(line->settled);
    run.figures.push_back(line->nonTaxable);
  }
  run.figures.push_back(totals.fixedAssets);
  run.figures.push_back(totals.deferredAssets);
  CloseCompanyDatabase();
  return run;
}

TEST(JournalSummariesTest, ExportReadsTheSameFiguresAsFromTheJournal) {
  TempFolder folder;
  ScopedUser user("user1");
  const struct {
    bool soleProprietor;
    int departments;
    bool taxInclusive;
  } companies[] = {{false, 0, false}, {false, 3, true}, {true, 6, false}, {true, 0, true}};
  const struct {
    int first, last;
    bool interim, yearEnd;
  } ranges[] = {{1, 12, false, true}, {1, 6, true, false}, {4, 9, false, false}};
  for (const auto& company : companies) {
    GeneratedCompanyShape shape;
    shape.entries = 4000;
    shape.soleProprietor = company.soleProprietor;
    shape.departments = company.departments;
    shape.taxInclusive = company.taxInclusive;
    std::string fast = folder.File("fast.db");
    std::string plain = folder.File("plain.db");
    std::string error;
    ASSERT_EQ(WriteGeneratedCompany(fast, shape, &error), 0) << error;
    CopyAsVersion(fast, plain, 1);
    const std::string older[] = {folder.File("version2.db"), folder.File("version3.db")};
    CopyAsVersion(fast, older[0], 2);
    CopyAsVersion(fast, older[1], 3);
    for (const auto& range : ranges) {
      MonthFind months = MonthFind::Build(range.first, range.last, range.interim, range.yearEnd);
      Export fromSummaries = RunExport(fast, months);
      Export fromJournal = RunExport(plain, months);
      std::string which = (company.soleProprietor ? "sole proprietor, " : "corporation, ") +
                          std::to_string(company.departments) + " departments, months " +
                          std::to_string(range.first) + "-" + std::to_string(range.last);
      EXPECT_TRUE(fromSummaries.fromSummaries && fromSummaries.sideTotals &&
                  fromSummaries.departmentTotals && !fromJournal.fromSummaries);
      EXPECT_EQ(fromJournal.results, (std::vector<std::int64_t>{0, 1, 1, 1, 1, 1})) << which;
      EXPECT_EQ(fromSummaries.results, fromJournal.results) << which;
      EXPECT_EQ(fromSummaries.figures, fromJournal.figures) << which;
      EXPECT_TRUE(fromSummaries.records == fromJournal.records) << which;
      // Files of versions 2 and 3 read from their wider account totals what version 4 keeps
      // apart, and version 2 the sides by category from the journal.
      for (int version : {2, 3}) {
        Export fromOlder = RunExport(older[version - 2], months);
        std::string file = which + ", version " + std::to_string(version);
        EXPECT_TRUE(fromOlder.fromSummaries && fromOlder.sideTotals == (version == 3) &&
                    !fromOlder.departmentTotals)
            << file;
        EXPECT_EQ(fromOlder.results, fromJournal.results) << file;
        EXPECT_EQ(fromOlder.figures, fromJournal.figures) << file;
        EXPECT_TRUE(fromOlder.records == fromJournal.records) << file;
      }
      // Not a comparison of two empty exports: there are sales at every rate.
      for (std::int64_t sales : fromJournal.taxableSales) EXPECT_GT(sales, 0) << which;
    }
  }
}

}  // namespace
}  // namespace ledvia::testing
