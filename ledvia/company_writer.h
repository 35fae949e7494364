// Writes a company database: the sample, generated companies for benchmarks, and test
// fixtures. It has a read-write connection of its own and never touches the session's.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

#include "accounting/ClAccPeriod.h"

namespace ledvia {

class Statement;

// Ten-thousandths of a yen, the unit of every stored amount.
constexpr std::int64_t Yen(std::int64_t yen) { return yen * 10000; }

struct DataSpec {
  int dataNo = 1;
  std::string dataId;       // ASCII, at most 15 bytes
  std::string companyName;  // code page 932, at most 79 bytes
  int periodStart = 0;      // YYYYMMDD
  int periodEnd = 0;
  int closingDay = 31;  // 31 = month end
  int interimClosing = 0;
  int dataKind = 0;      // 99 past results
  int entityKind = 0;    // 0, 1 corporate; 3, 4 sole proprietor
  int incomeKinds = 0;   // 1 business, 2 real estate, 3 several
  int taxationKind = 2;  // 0 exempt, 1 simplified, 2 general
  int roundingMode = 0;
  int deductionMethod = 0;
  int mainBusinessType = 0;
  int taxInclusive = 0;
};

struct AccountSpec {
  int code = 0;
  std::string codeText;
  std::string name;  // code page 932
  std::uint32_t classCode = 0;
  int normalSide = 1;
  int totalFlag = 0;
  int parentCode = 0;  // the total account this one rolls up into, 0 none
  int excluded = 0;
  int skip126 = 0;
  int skip128 = 0;
};

struct EntrySpec {
  int date = 0;
  int monthIndex = 0;  // 0: the month of the date; 15 or 18 for the adjustment periods
  std::string summary;
  int debitAccount = 0;
  int debitDept = 0;
  std::int64_t debitAmount = 0;  // ten-thousandths of a yen
  std::int64_t debitTax = 0;
  int debitCategory = 0;
  int creditAccount = 0;
  int creditDept = 0;
  std::int64_t creditAmount = 0;
  std::int64_t creditTax = 0;
  int creditCategory = 0;
  int rate = 0;  // hundredths of a percent
  int reduced = 0;
  int businessType = 0;
};

class CompanyWriter {
 public:
  CompanyWriter();
  CompanyWriter(const CompanyWriter&) = delete;
  CompanyWriter& operator=(const CompanyWriter&) = delete;
  // Abandons an unfinished database: closed and deleted, the path untouched.
  ~CompanyWriter();

  // Starts a database that is to take the place of `path`: written to a new file beside it in
  // one transaction. Refuses a `path` that exists and is not a company database file (a text,
  // a device node, a folder, a link), and an empty one. 0 on success.
  int Create(const std::string& path);
  // Writes the journal summaries (kept in memory while the entries came) and the triggers that
  // keep them from then on, builds the indexes, commits, and renames the finished file onto the
  // path. 0 on success;
  // after a failure (here or in any earlier call) the path is left as it was and nothing of
  // the new file remains.
  int Finish();

  int AddData(const DataSpec& data);
  int AddUser(const std::string& userId, int selectFirst, int selectSecond);
  int AddAccount(int dataNo, const AccountSpec& account);
  int AddDepartment(int dataNo, int code, const std::string& name, int value, int kind,
                    int incomeCategory);
  // Numbers the entry after the data's last one; the month index follows from the date and
  // the data's period calendar unless given.
  int AddEntry(int dataNo, const EntrySpec& entry);
  int AddAsset(int dataNo, int assetNo, const std::string& name, int date, int kind,
               std::int64_t amount, int incomeCategory);
  int AddSavedFigure(int dataNo, int offset, int width, std::int64_t value);

  // The first failure's text, empty while all went well.
  const std::string& Error() const { return error_; }

 private:
  int Fail(int code, const std::string& what);
  int Run(Statement& stmt, const char* what);
  int MonthIndexOf(int dataNo, int date, int* monthIndex);

  sqlite3* db_ = nullptr;
  std::string path_;
  std::string temp_;  // the file being written, until it is renamed onto path_
  std::string error_;
  bool broken_ = false;  // a database write failed
  struct Prepared;
  std::unique_ptr<Prepared> prepared_;
};

}  // namespace ledvia
