// Generated companies for benchmarks: one general-taxation corporation with N entries.
#include "ledvia/company_writer.h"
#include "ledvia/sample_chart.h"
#include "ledvia/sample_database.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

// A small deterministic generator: the same N always gives the same company.
class Lcg {
 public:
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t state_ = 20200401;
};

}  // namespace

int WriteGeneratedCompany(const std::string& path, std::int64_t entries, std::string* error) {
  if (entries < 0) {
    *error = "the number of entries must not be negative";
    return kBadArgument;
  }
  CompanyWriter writer;
  DataSpec data;
  data.dataNo = 1;
  data.dataId = "GEN0001";
  data.companyName = "株式会社ベンチマーク";
  data.periodStart = 20200401;
  data.periodEnd = 20210331;
  data.taxationKind = 2;
  int code = writer.Create(path);
  if (code == kOk) code = writer.AddData(data);
  if (code == kOk) code = chart::AddChart(writer, data.dataNo);
  if (code == kOk) code = writer.AddUser("user1", 1, data.dataNo);
  static const int kRates[][2] = {{1000, 0}, {800, 1}, {800, 0}};
  static const int kExpenseAccounts[] = {chart::kPurchases,   chart::kSupplies,
                                         chart::kTravel,      chart::kCommunication,
                                         chart::kOutsourcing, chart::kSalaries};
  static const int kPurchaseCategories[] = {21, 22, 23, 0, 24, 31};
  Lcg random;
  for (std::int64_t i = 0; i < entries && code == kOk; ++i) {
    // Spread evenly over the year: entry i falls in month (i * 12 / N).
    int monthOffset = static_cast<int>(i * 12 / (entries > 0 ? entries : 1));
    int month = (3 + monthOffset) % 12 + 1;
    int year = month >= 4 ? 2020 : 2021;
    int date = year * 10000 + month * 100 + 1 + random.Below(28);
    const int* rate = kRates[random.Below(3)];
    std::int64_t yen = 1000 + random.Below(500000);
    EntrySpec entry;
    if (random.Below(2) == 0) {
      entry = chart::Sale(date, yen, rate[0], rate[1], 1 + random.Below(6));
    } else {
      entry = chart::Purchase(date, yen, rate[0], rate[1], kPurchaseCategories[random.Below(6)],
                              kExpenseAccounts[random.Below(6)]);
    }
    code = writer.AddEntry(data.dataNo, entry);
  }
  if (code == kOk) code = writer.Finish();
  if (code != kOk) *error = writer.Error();
  return code;
}

}  // namespace ledvia
