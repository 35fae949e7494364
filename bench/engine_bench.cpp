// The aggregation engine over generated companies, beside one SQLite query that sums both sides
// of the same journal table by tax category and rate: the floor any aggregation of the journal
// has to pay. Prints each check's and stage's wall-clock and CPU time, the whole export (every
// business-core call of the checks and the four stages, with the engine's own work around them),
// its ratio to the query, and the peak resident memory. Not a test.
//
//   engine_bench [ENTRIES...]        default: 100000 1000000
//
// Each size runs in a child process of its own, so that the peak memory is that size's. Two
// companies per size from ledvia-db generate, written once to the temporary folder: the
// corporation (stages 3 to 5) and the sole proprietor with six departments (stage 6). CPU time
// is this process's own: on a shared machine it is the figure that other work does not inflate.
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
#include "ledvia/generated_company.h"

namespace {

// Counts what the engine asks of the progress window, at the cost of a real virtual call.
class CountingProgress : public AggregationProgress {
 public:
  void ResetActivity() override { ++resets; }
  void StepActivity() override { ++steps; }
  void SweepActivity() override { ++sweeps; }
  void FillActivity() override { ++fills; }
  long resets = 0, steps = 0, sweeps = 0, fills = 0;
};

// The generated company of `shape` in the temporary folder, written when it is not there yet (the
// writer puts a file in place only when it is complete). The name carries the generator's
// edition, so that companies of an earlier generator are not taken for these.
std::string CompanyFile(const char* kind, const ledvia::GeneratedCompanyShape& shape) {
  std::string path =
      (std::filesystem::temp_directory_path() /
       ("engine-bench-g2-" + std::string(kind) + "-" + std::to_string(shape.entries) + ".db"))
          .string();
  if (!std::filesystem::exists(path)) {
    std::string error;
    if (ledvia::WriteGeneratedCompany(path, shape, &error) != 0) {
      std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
      std::exit(1);
    }
  }
  return path;
}

struct Times {
  double wall = 0;  // milliseconds
  double cpu = 0;   // milliseconds of this process's CPU time
  Times& operator+=(const Times& other) {
    wall += other.wall;
    cpu += other.cpu;
    return *this;
  }
};

double Since(clockid_t clock, const timespec& start) {
  timespec end{};
  clock_gettime(clock, &end);
  return static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
         static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
}

// <chrono> cannot be compiled with code page 932 literals (its "µs" suffix has no CP932 form).
Times Measure(const std::function<void()>& work) {
  timespec wallStart{};
  timespec cpuStart{};
  clock_gettime(CLOCK_MONOTONIC, &wallStart);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
  work();
  Times times;
  times.cpu = Since(CLOCK_PROCESS_CPUTIME_ID, cpuStart);
  times.wall = Since(CLOCK_MONOTONIC, wallStart);
  return times;
}

// Both sides of the journal summed by tax category and rate, on a connection of its own.
Times ReferenceQuery(const std::string& path) {
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
  Times times = Measure([&] {
    while (sqlite3_step(stmt) == SQLITE_ROW) check += sqlite3_column_int64(stmt, 2);
  });
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (check == 42) std::puts("");  // keeps the sums from being optimised away
  return times;
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
  std::printf("%s\n  %-36s %10s %10s\n", title, "", "wall ms", "cpu ms");
  Times whole;
  for (const auto& [name, work] : steps) {
    int result = 0;
    Times times = Measure([&] { result = work(); });
    whole += times;
    std::printf("  %-36s %10.1f %10.1f  (result %d)\n", name, times.wall, times.cpu, result);
  }
  Times query = ReferenceQuery(path);
  std::printf("  %-36s %10.1f %10.1f\n", "whole export", whole.wall, whole.cpu);
  std::printf("  %-36s %10.1f %10.1f\n", "sqlite3 query by category and rate", query.wall,
              query.cpu);
  std::printf("  %-36s %10.2f %10.2f\n", "ratio export / query", whole.wall / query.wall,
              whole.cpu / query.cpu);
  std::printf("  progress: %ld resets, %ld steps, %ld sweeps, %ld fills\n", progress.resets,
              progress.steps, progress.sweeps, progress.fills);
  engine.ClearAccountList();
  ledvia::CloseCompanyDatabase();
}

void RunSize(long long entries) {
  ledvia::GeneratedCompanyShape corporate;
  corporate.entries = entries;
  ledvia::GeneratedCompanyShape sole = corporate;
  sole.soleProprietor = true;
  sole.departments = 6;
  std::string corporation = CompanyFile("corp", corporate);
  std::string soleProprietor = CompanyFile("sole", sole);
  // The companies are written before the clock and the memory count start mattering: the peak
  // below is dominated by the runs (writing streams one entry at a time).
  std::printf("== %lld entries\n", entries);
  RunCompany("corporation (general taxation)", corporation);
  RunCompany("sole proprietor (six departments)", soleProprietor);
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
