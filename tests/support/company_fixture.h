// Test support: a company database in a temporary folder, attached as the session's database,
// and the current user chosen through LEDVIA_USER for the length of a test.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "accounting/ClDataMgr.h"
#include "ledvia/company_database.h"
#include "ledvia/company_writer.h"
#include "ledvia/fault_injection.h"
#include "ledvia/sample_chart.h"
#include "ledvia/sample_database.h"

namespace ledvia::testing {

// A fresh temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ledvia-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made != nullptr) path_ = made;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Copies the company database `from` to `to` as a database of an older schema: version 1,
// without any journal summary, so that the business core answers from the journal itself (the
// plain queries its summaries must agree with), version 2, without the side totals by tax
// category, or version 3, with the account totals (made from the journal) where the newer
// version keeps the department and taxed totals. The triggers go too: they keep tables the
// older version lacks.
inline void CopyAsVersion(const std::string& from, const std::string& to, int version) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  std::string sql =
      "DROP TRIGGER journal_summaries_insert; DROP TRIGGER journal_summaries_delete; "
      "DROP TRIGGER journal_summaries_update; DROP TABLE journal_department_totals; "
      "DROP TABLE journal_taxed_totals; ";
  if (version <= 2) sql += "DROP TABLE journal_side_totals; ";
  if (version == 1) sql += "DROP TABLE journal_groups; ";
  if (version >= 2) {
    sql +=
        "CREATE TABLE journal_account_totals(data_no INTEGER NOT NULL, dept INTEGER NOT NULL, "
        "account INTEGER NOT NULL, side INTEGER NOT NULL, month_index INTEGER NOT NULL, taxed "
        "INTEGER NOT NULL, rate INTEGER NOT NULL, reduced INTEGER NOT NULL, sides INTEGER NOT "
        "NULL, amount, tax, PRIMARY KEY (data_no, dept, account, side, month_index, taxed, rate, "
        "reduced)) WITHOUT ROWID; INSERT INTO journal_account_totals SELECT data_no, dept, "
        "account, side, month_index, taxed, rate, reduced, COUNT(*), SUM(amount), SUM(tax) FROM "
        "(SELECT data_no, debit_dept AS dept, debit_account AS account, 1 AS side, month_index, "
        "debit_category <> 0 AS taxed, rate, reduced, debit_amount AS amount, debit_tax AS tax "
        "FROM journal UNION ALL SELECT data_no, credit_dept, credit_account, 2, month_index, "
        "credit_category <> 0, rate, reduced, credit_amount, credit_tax FROM journal) GROUP BY 1, "
        "2, 3, 4, 5, 6, 7, 8; ";
  }
  sql +=
      "UPDATE ledvia_meta SET value = " + std::to_string(version) + " WHERE key = 'schema_version'";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(to.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << (error != nullptr ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

// Sets LEDVIA_USER and restores the previous value.
class ScopedUser {
 public:
  explicit ScopedUser(const std::string& user) {
    const char* old = std::getenv("LEDVIA_USER");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    setenv("LEDVIA_USER", user.c_str(), 1);
  }
  ~ScopedUser() {
    if (hadOld_) {
      setenv("LEDVIA_USER", old_.c_str(), 1);
    } else {
      unsetenv("LEDVIA_USER");
    }
  }

 private:
  bool hadOld_ = false;
  std::string old_;
};

// Writes the sample into a temporary folder once per test and attaches to it as user1.
class SampleSession : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    path_ = folder_.File("sample.db");
    ASSERT_EQ(WriteSampleDatabase(path_, &error), 0) << error;
    ASSERT_EQ(OpenCompanyDatabase(path_), 0);
  }
  void TearDown() override {
    CloseCompanyDatabase();
    ClearFaults();
  }
  // The old value goes back first, so that the new one is not undone by it.
  void SelectUser(const std::string& user) {
    user_.reset();
    user_ = std::make_unique<ScopedUser>(user);
  }

  TempFolder folder_;
  std::string path_;
  std::unique_ptr<ScopedUser> user_ = std::make_unique<ScopedUser>("user1");
};

// A company written by the test itself: data 1 "T1" selected by "user1", the sample's chart,
// general taxation, April 2020 to March 2021 unless changed before Attach.
class OwnCompany : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("own.db");
    ASSERT_EQ(writer_.Create(path_), 0) << writer_.Error();
    data_.dataNo = 1;
    data_.dataId = "T1";
    data_.companyName = "テスト";
    data_.periodStart = 20200401;
    data_.periodEnd = 20210331;
  }
  // Writes the data record, the chart and user1 (call once, before entries).
  void AddData() {
    ASSERT_EQ(writer_.AddData(data_), 0) << writer_.Error();
    ASSERT_EQ(chart::AddChart(writer_, data_.dataNo), 0) << writer_.Error();
    ASSERT_EQ(writer_.AddUser("user1", 1, data_.dataNo), 0) << writer_.Error();
  }
  void Attach() {
    ASSERT_EQ(writer_.Finish(), 0) << writer_.Error();
    ASSERT_EQ(OpenCompanyDatabase(path_), 0);
  }
  void TearDown() override {
    CloseCompanyDatabase();
    ClearFaults();
  }

  TempFolder folder_;
  std::string path_;
  CompanyWriter writer_;
  DataSpec data_;
  ScopedUser user_{"user1"};
};

}  // namespace ledvia::testing
