// Exports of a generated company while another process commits taxable sales one by one, in
// both journal modes: every linkage file must be the file of a state the company data had, the
// quiet file plus a whole number of sales. The program counts the journal entries of a find and
// then walks that many; a sale committed between the count and the walk once pushed an entry out
// of the walk, a figure no state of the data ever had.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/host_run.h"
#include "tests/support/shell.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 20000;
// A journal mode and the runs in it. Without one read transaction for the export, about one run
// in three (WAL) and one in eight (rollback journal) produced a file of no state; these many runs
// catch that all but surely.
struct Mode {
  const char* name;
  int runs;
};
void PrintTo(const Mode& mode, std::ostream* out) {
  *out << mode.name << ", " << mode.runs << " runs";
}

// A sale of 100,000 yen at 10 % to the sales account, numbered below every entry there is, as an
// entry filed into a gap of the numbering would be: it sorts before the entries a walk already
// expects. Amounts are in ten-thousandths of a yen.
constexpr const char* kSale =
    "INSERT INTO journal(data_no, entry_no, date, month_index, debit_account, debit_amount, "
    "credit_account, credit_amount, credit_tax, credit_category, rate, business_type) "
    "SELECT 1, MIN(entry_no) - 1, 20200515, 2, 130, 1100000000, 400, 1000000000, 100000000, 1, "
    "1000, 1 FROM journal WHERE data_no = 1";

// The element texts of a linkage file in document order, each with where it starts.
struct Element {
  std::size_t at;
  std::string text;
};
std::vector<Element> Elements(const std::string& file) {
  std::vector<Element> elements;
  for (std::size_t open = file.find('>'); open != std::string::npos;
       open = file.find('>', open + 1)) {
    std::size_t close = file.find('<', open);
    if (close == std::string::npos || file.compare(close, 2, "</") != 0) continue;
    elements.push_back({open + 1, file.substr(open + 1, close - open - 1)});
  }
  return elements;
}

// An amount element's text: empty for zero.
std::int64_t Yen(const std::string& text) { return text.empty() ? 0 : std::stoll(text); }
std::string YenText(std::int64_t yen) { return yen == 0 ? "" : std::to_string(yen); }

// What a file of the quiet data plus `k` sales holds: the quiet file with every figure that one
// sale moves moved k times as far.
std::string FileAfterSales(const std::string& quiet, const std::string& oneSale, std::int64_t k) {
  std::vector<Element> before = Elements(quiet);
  std::vector<Element> after = Elements(oneSale);
  std::string expected = quiet;
  for (std::size_t i = before.size(); i-- > 0;) {
    if (i >= after.size() || before[i].text == after[i].text) continue;
    std::int64_t moved = Yen(before[i].text) + k * (Yen(after[i].text) - Yen(before[i].text));
    expected.replace(before[i].at, before[i].text.size(), YenText(moved));
  }
  return expected;
}

// The number of sales a file holds, read from the first figure one sale moves; -1 when it is no
// whole number.
std::int64_t SalesIn(const std::string& file, const std::string& quiet,
                     const std::string& oneSale) {
  std::vector<Element> produced = Elements(file);
  std::vector<Element> before = Elements(quiet);
  std::vector<Element> after = Elements(oneSale);
  for (std::size_t i = 0; i < before.size() && i < after.size() && i < produced.size(); ++i) {
    if (before[i].text == after[i].text) continue;
    std::int64_t step = Yen(after[i].text) - Yen(before[i].text);
    std::int64_t moved = Yen(produced[i].text) - Yen(before[i].text);
    return moved % step == 0 ? moved / step : -1;
  }
  return -1;
}

// Commits sales one by one on a connection of its own until stopped; Stop says how many.
class SalesWriter {
 public:
  explicit SalesWriter(const std::string& path) {
    thread_ = std::thread([this, path] {
      sqlite3* db = nullptr;
      sqlite3_open(path.c_str(), &db);
      // In rollback-journal mode an export holds its lock for the whole run; wait it out.
      sqlite3_busy_timeout(db, 60000);
      // Commits as fast as they come, so that they fall between an export's reads.
      sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
      while (!stop_) {
        if (sqlite3_exec(db, kSale, nullptr, nullptr, nullptr) == SQLITE_OK) ++committed_;
      }
      sqlite3_close(db);
    });
  }
  ~SalesWriter() { Stop(); }
  int Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return committed_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> committed_{0};
  std::thread thread_;
};

class ConcurrentSales : public ::testing::TestWithParam<Mode> {
 protected:
  static void SetUpTestSuite() {
    generated_ = new testsupport::TempFolder();
    testsupport::ShellRun run = testsupport::Shell(
        e2e::Quoted(e2e::BinDir() + "/ledvia-db") + " generate --entries " +
        std::to_string(kEntries) + " " + e2e::Quoted(*generated_ / "company.db"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
  }
  static void TearDownTestSuite() {
    delete generated_;
    generated_ = nullptr;
  }

  // A copy of the generated company in the journal mode of the test, with `sales` sales.
  std::string Company(const std::string& name, int sales) const {
    std::string path = temp_ / name;
    fs::copy_file(*generated_ / "company.db", path);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string sql = std::string("PRAGMA journal_mode = ") + GetParam().name + ";";
    for (int i = 0; i < sales; ++i) sql += std::string(kSale) + ";";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    return path;
  }

  // Exports the company at `database` and returns the file.
  std::string Export(const std::string& database, const std::string& name) const {
    std::string output = temp_ / name;
    std::string env = "LEDVIA_DATA=" + e2e::Quoted(database) +
                      " LEDVIA_USER=user1 WINPORT_UI=" + e2e::Quoted("script:" + script_);
    e2e::HostRun run = e2e::RunHost(env, "--output " + e2e::Quoted(e2e::DriveZ(output)),
                                    e2e::BinDir() + "/tessaly");
    EXPECT_EQ(run.exitCode, 0) << name << "\n" << run.output;
    return temp_.Read(name).value_or("");
  }

  static testsupport::TempFolder* generated_;
  testsupport::TempFolder temp_;
  std::string script_ = temp_.WriteFile("execute.txt", "key F12\n");
};

testsupport::TempFolder* ConcurrentSales::generated_ = nullptr;

TEST_P(ConcurrentSales, EveryFileIsTheFileOfOneStateOfTheData) {
  const std::string quiet = Export(Company("quiet.db", 0), "quiet.xml");
  const std::string oneSale = Export(Company("one-sale.db", 1), "one-sale.xml");
  ASSERT_NE(quiet, oneSale);

  const std::string busy = Company("busy.db", 0);
  SalesWriter writer(busy);
  std::vector<std::int64_t> sales;
  for (int run = 0; run < GetParam().runs; ++run) {
    std::string file = Export(busy, "run" + std::to_string(run) + ".xml");
    std::int64_t k = SalesIn(file, quiet, oneSale);
    sales.push_back(k);
    EXPECT_TRUE(k >= 0 && file == FileAfterSales(quiet, oneSale, k))
        << "run " << run << " is no state of the data (" << k << " sales)";
  }
  int committed = writer.Stop();
  EXPECT_LE(sales.back(), committed);
  // The writer must have committed while the exports ran, or nothing was tested.
  EXPECT_GT(sales.back(), sales.front());
}

INSTANTIATE_TEST_SUITE_P(JournalModes, ConcurrentSales,
                         ::testing::Values(Mode{"wal", 20}, Mode{"delete", 40}),
                         [](const ::testing::TestParamInfo<Mode>& mode) {
                           return std::string(mode.param.name);
                         });

}  // namespace
