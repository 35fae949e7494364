// The aggregation engine over generated companies, beside one SQLite query that sums both sides
// of the same journal table by tax category and rate: the floor any aggregation of the journal
// has to pay. Prints each check's and stage's time, the whole, its ratio to the query and the
// peak resident memory. Not a test.
//
//   engine_bench [ENTRIES...]        default: 100000 1000000
//
// Each size runs in a child process of its own, so that the peak memory is that size's. Two
// companies per size, written once to the temporary folder: the benchmark corporation of
// ledvia-db generate (stages 3 to 5), and a sole proprietor with departments (stage 6).
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "accounting/ClDataMgr.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "aggregate/AddTax.h"
#include "ledvia/company_database.h"
#include "ledvia/company_writer.h"
#include "ledvia/sample_chart.h"
#include "ledvia/sample_database.h"

namespace {

namespace chart = ledvia::chart;

// Counts what the engine asks of the progress window, at the cost of a real virtual call.
class CountingProgress : public AggregationProgress {
 public:
  void ResetActivity() override { ++resets; }
  void StepActivity() override { ++steps; }
  void SweepActivity() override { ++sweeps; }
  void FillActivity() override { ++fills; }
  long resets = 0, steps = 0, sweeps = 0, fills = 0;
};

// A sole proprietor (income kinds 3) with six departments, entries spread over the year as in
// the generated corporation, every side booked to a department.
int WriteSoleProprietor(const std::string& path, long long entries, std::string* error) {
  ledvia::CompanyWriter writer;
  ledvia::DataSpec data;
  data.dataNo = 1;
  data.dataId = "IND0001";
  data.companyName = "ベンチマーク商店";
  data.periodStart = 20200101;
  data.periodEnd = 20201231;
  data.entityKind = 3;
  data.incomeKinds = 3;
  int code = writer.Create(path);
  if (code == 0) code = writer.AddData(data);
  if (code == 0) code = chart::AddChart(writer, data.dataNo);
  if (code == 0) code = writer.AddUser("user1", 1, data.dataNo);
  const int departments[][3] = {{5, 0, 1}, {3, 0, 3}, {0, 1, 3}, {7, 1, 1}, {2, 2, 2}, {4, 0, 4}};
  for (int d = 0; d < 6 && code == 0; ++d) {
    code = writer.AddDepartment(1, d + 1, "部門", departments[d][0], departments[d][1],
                                departments[d][2]);
  }
  static const int kExpenseAccounts[] = {chart::kPurchases,     chart::kSupplies, chart::kTravel,
                                         chart::kCommunication, chart::kRent,     chart::kInterest};
  static const int kCategories[] = {21, 22, 23, 0, 24, 31};
  std::uint64_t state = 20200101;
  auto below = [&state](int n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
  };
  for (long long i = 0; i < entries && code == 0; ++i) {
    int month = static_cast<int>(i * 12 / entries) + 1;
    int date = 20200000 + month * 100 + 1 + below(28);
    int dept = 1 + below(6);
    std::int64_t yen = 1000 + below(500000);
    ledvia::EntrySpec entry =
        below(2) == 0 ? chart::Sale(date, yen, 1000, 0, 1 + below(5), 1, chart::kSales, dept)
                      : chart::Purchase(date, yen, 1000, 0, kCategories[below(6)],
                                        kExpenseAccounts[below(6)], dept);
    code = writer.AddEntry(1, entry);
  }
  for (int a = 0; a < 50 && code == 0; ++a) {
    code =
        writer.AddAsset(1, a + 1, "資産", 20200101 + (a % 12) * 100, 1, ledvia::Yen(100000), a % 3);
  }
  if (code == 0) code = writer.Finish();
  if (code != 0) *error = writer.Error();
  return code;
}

std::string CompanyFile(const char* kind, long long entries,
                        const std::function<int(const std::string&, std::string*)>& write) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("engine-bench-" + std::string(kind) + "-" + std::to_string(entries) + ".db"))
                         .string();
  if (!std::filesystem::exists(path)) {
    std::string error;
    std::string partial = path + ".part";
    if (write(partial, &error) != 0) {
      std::fprintf(stderr, "cannot write %s: %s\n", partial.c_str(), error.c_str());
      std::exit(1);
    }
    std::filesystem::rename(partial, path);
  }
  return path;
}

// <chrono> cannot be compiled with code page 932 literals (its "µs" suffix has no CP932 form).
double Milliseconds(const std::function<void()>& work) {
  timespec start{};
  timespec end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  work();
  clock_gettime(CLOCK_MONOTONIC, &end);
  return static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
         static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
}

// Both sides of the journal summed by tax category and rate, on a connection of its own.
double ReferenceQuery(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT category, rate, SUM(amount), SUM(tax) FROM ("
                     "SELECT debit_category AS category, rate, debit_amount AS amount, debit_tax "
                     "AS tax FROM journal WHERE data_no = 1 UNION ALL SELECT credit_category, "
                     "rate, credit_amount, credit_tax FROM journal WHERE data_no = 1) "
                     "GROUP BY category, rate",
                     -1, &stmt, nullptr);
  long long check = 0;
  double ms = Milliseconds([&] {
    while (sqlite3_step(stmt) == SQLITE_ROW) check += sqlite3_column_int64(stmt, 2);
  });
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (check == 42) std::puts("");  // keeps the sums from being optimised away
  return ms;
}

void RunCompany(const char* title, const std::string& path) {
  if (ledvia::OpenCompanyDatabase(path) != 0) std::exit(1);
  StDATAINFO data;
  StSHOHIZEIINFO settings;
  std::memset(&data, 0, sizeof data);
  std::memset(&settings, 0, sizeof settings);
  static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&data);
  static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1))->Get(&settings);
  CountingProgress progress;
  AggregationEngine engine(progress);
  engine.monthFind() = MonthFind::Build(1, 12, false, true);
  engine.SetTaxationKind(settings.taxationKind);
  TaxTotals totals;
  totals.Allocate(kRateSlotCount);
  int count = 0;
  const std::pair<const char*, std::function<int()>> steps[] = {
      {"CountSixthBusinessTypeEntries",
       [&] { return engine.CountSixthBusinessTypeEntries(&count); }},
      {"HasImportCategoryEntries", [&] { return engine.HasImportCategoryEntries(); }},
      {"stage 3 SumTaxByRate", [&] { return engine.SumTaxByRate(totals); }},
      {"stage 4 SumSpecialAccounts", [&] { return engine.SumSpecialAccounts(totals, settings); }},
      {"stage 5 SumCorporateStatement",
       [&] { return engine.SumCorporateStatement(totals, data, settings); }},
      {"stage 6 SumSoleProprietorStatement",
       [&] { return engine.SumSoleProprietorStatement(totals, data, settings); }},
  };
  std::printf("%s\n", title);
  double whole = 0;
  for (const auto& [name, work] : steps) {
    int result = 0;
    double ms = Milliseconds([&] { result = work(); });
    whole += ms;
    std::printf("  %-36s %10.1f ms  (result %d)\n", name, ms, result);
  }
  double query = ReferenceQuery(path);
  std::printf("  %-36s %10.1f ms\n", "whole", whole);
  std::printf("  %-36s %10.1f ms\n", "sqlite3 query by category and rate", query);
  std::printf("  %-36s %10.1f\n", "ratio whole / query", whole / query);
  std::printf("  progress: %ld resets, %ld steps, %ld sweeps, %ld fills\n", progress.resets,
              progress.steps, progress.sweeps, progress.fills);
  engine.ClearAccountList();
  ledvia::CloseCompanyDatabase();
}

void RunSize(long long entries) {
  std::string corporation =
      CompanyFile("corp", entries, [entries](const std::string& p, std::string* e) {
        return ledvia::WriteGeneratedCompany(p, entries, e);
      });
  std::string sole = CompanyFile("sole", entries, [entries](const std::string& p, std::string* e) {
    return WriteSoleProprietor(p, entries, e);
  });
  // The companies are written before the clock and the memory count start mattering: the peak
  // below is dominated by the runs (writing streams one entry at a time).
  std::printf("== %lld entries\n", entries);
  RunCompany("corporation (general taxation)", corporation);
  RunCompany("sole proprietor (six departments)", sole);
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory: %.1f MiB\n\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long long> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoll(argv[i]));
  if (sizes.empty()) sizes = {100000, 1000000};
  setenv("LEDVIA_USER", "user1", 1);
  for (long long entries : sizes) {
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
      RunSize(entries);
      std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  }
  return 0;
}
