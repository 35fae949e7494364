// Streaming over a generated company: walking every journal entry, SumTax over the year and
// the account sums, with the peak resident memory reported as a counter, so that a run with
// ten times the entries shows flat memory. Set LEDVIA_BENCH_ENTRIES (default 200000).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "accounting/ClRuleKamoku.h"
#include "accounting/ClRuleShiwake.h"
#include "accounting/ClRuleShohizeiShinkoku.h"
#include "aggregate/tax_totals.h"
#include "ledvia/company_database.h"
#include "ledvia/generated_company.h"

namespace {

std::string BenchDatabase() {
  static std::string path;
  if (!path.empty()) return path;
  const char* configured = std::getenv("LEDVIA_BENCH_ENTRIES");
  long long entries = configured != nullptr ? std::atoll(configured) : 200000;
  path = (std::filesystem::temp_directory_path() /
          ("ledvia-bench-g2-" + std::to_string(entries) + ".db"))
             .string();
  if (!std::filesystem::exists(path)) {
    std::string error;
    ledvia::GeneratedCompanyShape shape;
    shape.entries = entries;
    if (ledvia::WriteGeneratedCompany(path, shape, &error) != 0) std::abort();
  }
  if (ledvia::OpenCompanyDatabase(path) != 0) std::abort();
  return path;
}

double PeakRssMiB() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_WalkAllEntries(benchmark::State& state) {
  BenchDatabase();
  for (auto _ : state) {
    ClRuleShiwake rule;
    rule.MoveReady(nullptr, nullptr, nullptr, 4);
    StSWKTINFO entry;
    std::int64_t sum = 0;
    long rows = 0;
    while (rule.MoveNext(&entry) == 0) {
      sum += entry.debitAmount;
      ++rows;
    }
    rule.MoveFinish();
    benchmark::DoNotOptimize(sum);
    state.counters["entries"] = static_cast<double>(rows);
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_WalkAllEntries)->Unit(benchmark::kMillisecond);

void BM_SumTaxYear(benchmark::State& state) {
  BenchDatabase();
  for (auto _ : state) {
    TaxTotals totals;
    totals.Allocate(kRateSlotCount);
    ClRuleShohizeiShinkoku rule;
    benchmark::DoNotOptimize(
        rule.SumTax(2, nullptr, totals.rateRecords.data(), totals.businessTypeRecords.data()));
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_SumTaxYear)->Unit(benchmark::kMillisecond);

void BM_AccountSums(benchmark::State& state) {
  BenchDatabase();
  for (auto _ : state) {
    ClRuleKamoku rule;
    rule.MoveReady(1, 0, 0, nullptr, nullptr, 0);
    StKAMOKUSUMINFO info;
    while (rule.MoveNext(&info) == 0) benchmark::DoNotOptimize(info.classCode);
    rule.MoveFinish();
  }
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_AccountSums)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
