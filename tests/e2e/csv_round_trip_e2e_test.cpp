// Company databases through CSV and back (ledvia-db export, then import): the edition program
// must write the same linkage file from the imported database as from the original, byte for
// byte; and the committed example set gives the figures ledvia/README.md works out by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/host_run.h"
#include "tests/support/shell.h"
#include "tests/support/temp_folder.h"

namespace {

class CsvRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (e2e::BinDir().empty()) GTEST_SKIP() << "QL_BIN_DIR not set (run through ctest)";
  }

  testsupport::ShellRun Tool(const std::string& args) const {
    return testsupport::Shell(e2e::Quoted(e2e::BinDir() + "/ledvia-db") + " " + args + " 2>&1");
  }

  // The linkage file tessaly writes for `user` from `database` (journal method unless `saved`),
  // or nullopt when it writes none. Each database has its own remembered settings.
  std::optional<std::string> Linkage(const std::string& database, const std::string& user,
                                     bool saved) const {
    std::string name = std::to_string(++runs_);
    std::string output = temp_ / ("out" + name + ".xml");
    std::string script = temp_.WriteFile("script" + name + ".txt",
                                         std::string(saved ? "click 1031\n" : "") + "type 1008 " +
                                             e2e::DriveZ(output) + "\nkey F12\n");
    std::string env =
        "LEDVIA_DATA=" + e2e::Quoted(database) + " LEDVIA_USER=" + user + " LEDVIA_HOME=" +
        e2e::Quoted(temp_.MakeFolder("home-" + database.substr(database.rfind('/') + 1))) +
        " WINPORT_UI=" + e2e::Quoted("script:" + script);
    e2e::RunHost(env, "", e2e::BinDir() + "/tessaly");
    return e2e::ReadBytes(output);
  }

  // Exports `database`, imports the export, and compares the linkage files of `users`.
  void ExpectSameLinkage(const std::string& database, const std::vector<std::string>& users) {
    std::string folder = temp_ / ("csv" + std::to_string(++runs_));
    std::string copy = temp_ / ("again" + std::to_string(runs_) + ".db");
    testsupport::ShellRun exported =
        Tool("export " + e2e::Quoted(database) + " " + e2e::Quoted(folder));
    ASSERT_EQ(exported.exitCode, 0) << exported.output;
    testsupport::ShellRun imported =
        Tool("import " + e2e::Quoted(folder) + " " + e2e::Quoted(copy));
    ASSERT_EQ(imported.exitCode, 0) << imported.output;
    int files = 0;
    for (const std::string& user : users) {
      for (bool saved : {false, true}) {
        std::optional<std::string> before = Linkage(database, user, saved);
        std::optional<std::string> after = Linkage(copy, user, saved);
        EXPECT_EQ(before.has_value(), after.has_value()) << user << (saved ? " saved" : "");
        if (before && after) {
          ++files;
          EXPECT_TRUE(*before == *after) << user << (saved ? " saved" : "") << " differs";
        }
      }
    }
    EXPECT_GT(files, 0) << "no linkage file written for " << database;
  }

  testsupport::TempFolder temp_;
  mutable int runs_ = 0;
};

TEST_F(CsvRoundTrip, EverySampleCompanyGivesTheSameLinkageFile) {
  std::vector<std::string> users;
  for (int i = 1; i <= 12; ++i) users.push_back("user" + std::to_string(i));
  ExpectSameLinkage(e2e::BinDir() + "/sample/ledvia-sample.db", users);
}

TEST_F(CsvRoundTrip, GeneratedCompaniesGiveTheSameLinkageFile) {
  for (const char* options : {"", "--sole-proprietor --departments 6 --tax-inclusive"}) {
    std::string database = temp_ / ("generated" + std::to_string(++runs_) + ".db");
    testsupport::ShellRun generated =
        Tool("generate --entries 2000 " + std::string(options) + " " + e2e::Quoted(database));
    ASSERT_EQ(generated.exitCode, 0) << generated.output;
    ExpectSameLinkage(database, {"user1"});
  }
}

// The figures worked out by hand in ledvia/README.md for the committed example set.
TEST_F(CsvRoundTrip, ExampleSetGivesTheFiguresWorkedOutByHand) {
  std::string database = temp_ / "example.db";
  testsupport::ShellRun imported =
      Tool("import " + e2e::Quoted(QL_E2E_EXAMPLES_DIR) + " " + e2e::Quoted(database));
  ASSERT_EQ(imported.exitCode, 0) << imported.output;
  ASSERT_TRUE(Linkage(database, "user1", false));
  std::string file = temp_ / ("out" + std::to_string(runs_) + ".xml");
  const struct {
    const char* element;
    const char* value;
  } figures[] = {
      {"D020114/KAZEIURIAGEZEINUKI10", "1200000"},
      {"D020114/KAZEIURIAGEZEIGAKU10", "120000"},
      {"D020113/KAZEIURIAGEZEINUKI8K", "500000"},
      {"D020113/KAZEIURIAGEZEIGAKU8K", "40000"},
  };
  for (const auto& figure : figures) {
    testsupport::ShellRun read =
        testsupport::Shell("xmllint --xpath " +
                           e2e::Quoted(std::string("string(/REPORT/DATA/") + figure.element + ")") +
                           " " + e2e::Quoted(file));
    EXPECT_EQ(read.output, std::string(figure.value) + "\n") << figure.element;
  }
}

}  // namespace
