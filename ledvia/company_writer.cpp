#include "ledvia/company_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "ledvia/company_file.h"
#include "ledvia/journal_totals.h"
#include "ledvia/schema.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

struct CompanyWriter::Prepared {
  std::unique_ptr<Statement> entry;
  std::map<int, ClAccPeriod> calendars;  // per data number, for month indices
  std::map<int, int> firstMonths;
  std::map<int, int> lastEntryNo;
  JournalTotals totals;  // the journal summaries, written by Finish
};

CompanyWriter::CompanyWriter() : prepared_(std::make_unique<Prepared>()) {}

CompanyWriter::~CompanyWriter() {
  prepared_.reset();
  if (db_ != nullptr) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  // An unfinished database never takes the place of what the path held.
  if (!temp_.empty()) unlink(temp_.c_str());
}

int CompanyWriter::Fail(int code, const std::string& what) {
  if (code >= kDatabaseBase) broken_ = true;
  if (error_.empty()) {
    error_ = what;
    if (db_ != nullptr && code >= kDatabaseBase) error_ += ": " + std::string(sqlite3_errmsg(db_));
  }
  return code;
}

int CompanyWriter::Run(Statement& stmt, const char* what) {
  if (!stmt.ok()) return Fail(stmt.PrepareCode(), what);
  int rc = stmt.Step();
  if (rc != SQLITE_DONE) return Fail(DatabaseCode(rc), what);
  return kOk;
}

namespace {

// Whether the writer may replace what is at `path`: nothing, or a company database file. Anything
// else (a text, a device node, a folder, a link) is someone's and stays as it is.
int CheckReplaceable(const std::string& path, std::string* refusal) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return kOk;
    *refusal = "cannot write " + path + ": " + std::strerror(errno);
    return kBadArgument;
  }
  if (!S_ISREG(status.st_mode)) {
    *refusal = path + " exists and is not a regular file; it is left as it is";
    return kBadArgument;
  }
  CompanyFile existing;
  std::string reason;
  if (OpenCompanyFile(path, &existing, &reason) != kOk) {
    *refusal = path + " exists and is not a company database (" + reason + "); it is left as it is";
    return kBadArgument;
  }
  sqlite3_close(existing.db);
  return kOk;
}

// A new empty file beside `path` (same folder, so that the rename stays on one file system),
// with the permissions a file created there would get. Empty string and `*error` on failure.
std::string MakeTempBeside(const std::string& path, std::string* error) {
  std::string pattern = path + ".XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    *error = "cannot write beside " + path + ": " + std::strerror(errno);
    return std::string();
  }
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return pattern;
}

// Makes the finished file durable before it takes the path's place.
bool SyncFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = fsync(fd) == 0;
  close(fd);
  return synced;
}

}  // namespace

int CompanyWriter::Create(const std::string& path) {
  if (db_ != nullptr || !temp_.empty())
    return Fail(kNotReady, "a database is already being written");
  if (path.empty()) return Fail(kBadArgument, "no file named to write");
  std::string refusal;
  if (int code = CheckReplaceable(path, &refusal)) return Fail(code, refusal);
  std::string error;
  temp_ = MakeTempBeside(path, &error);
  if (temp_.empty()) return Fail(kBadArgument, error);
  path_ = path;
  // One thread writes through this connection: it needs no lock of its own on every call.
  int rc =
      sqlite3_open_v2(temp_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    Fail(DatabaseCode(rc), "cannot create " + path);
    sqlite3_close(db_);
    db_ = nullptr;
    return DatabaseCode(rc);
  }
  // The file is written whole and renamed into place only when finished, so it needs no
  // journal: an interrupted write leaves the path as it was.
  sqlite3_exec(db_, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr,
               nullptr);
  int code = CreateCompanyDatabase(db_, &error, false);
  if (code != kOk) return Fail(code, "cannot create " + path + ": " + error);
  prepared_->entry = std::make_unique<Statement>(
      db_,
      "INSERT INTO journal(data_no, entry_no, date, month_index, summary, debit_account, "
      "debit_dept, debit_amount, debit_tax, debit_category, credit_account, credit_dept, "
      "credit_amount, credit_tax, credit_category, rate, reduced, business_type) VALUES "
      "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18)");
  if (!prepared_->entry->ok()) return Fail(prepared_->entry->PrepareCode(), "journal insert");
  return kOk;
}

int CompanyWriter::Finish() {
  if (db_ == nullptr) return Fail(kNotReady, "no database open");
  // A write that failed half-way may have left the file inconsistent (no journal): it is not
  // put in place. Refused records (a date outside the period) wrote nothing.
  if (broken_) return Fail(kNotReady, error_);
  prepared_->entry.reset();
  std::string error;
  int code = prepared_->totals.Write(db_, &error);
  if (code == kOk) code = CreateSummaryTriggers(db_, &error);
  if (code != kOk) return Fail(code, "cannot write the journal summaries: " + error);
  code = CreateCompanyIndexes(db_, &error);
  if (code != kOk) return Fail(code, "cannot index: " + error);
  int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return Fail(DatabaseCode(rc), "cannot commit");
  rc = sqlite3_close(db_);
  db_ = nullptr;
  if (rc != SQLITE_OK) return Fail(DatabaseCode(rc), "cannot close");
  if (!SyncFile(temp_) || std::rename(temp_.c_str(), path_.c_str()) != 0) {
    return Fail(kBadArgument,
                "cannot put the new database in place at " + path_ + ": " + std::strerror(errno));
  }
  temp_.clear();
  return kOk;
}

int CompanyWriter::AddData(const DataSpec& data) {
  ClAccPeriod calendar;
  short firstMonth = 0;
  if (calendar.SetClosingDay(data.closingDay) != kOk ||
      calendar.SetPeriod(data.periodStart, data.periodEnd) != kOk ||
      calendar.GetAMonthByDate(data.periodStart, &firstMonth, 0) != kOk) {
    return Fail(kBadArgument, "data " + data.dataId + ": bad period or closing day");
  }
  Statement insertData(db_,
                       "INSERT INTO data(data_no, data_id, company_name, period_start, "
                       "period_end, interim_closing, data_kind, entity_kind, income_kinds) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
  insertData.BindInt(1, data.dataNo);
  insertData.BindText(2, data.dataId);
  insertData.BindBlob(3, data.companyName);
  insertData.BindInt(4, data.periodStart);
  insertData.BindInt(5, data.periodEnd);
  insertData.BindInt(6, data.interimClosing);
  insertData.BindInt(7, data.dataKind);
  insertData.BindInt(8, data.entityKind);
  insertData.BindInt(9, data.incomeKinds);
  if (int code = Run(insertData, "data")) return code;
  Statement insertCalendar(db_,
                           "INSERT INTO period_calendar(data_no, first_month, closing_day) "
                           "VALUES (?1, ?2, ?3)");
  insertCalendar.BindInt(1, data.dataNo);
  insertCalendar.BindInt(2, firstMonth);
  insertCalendar.BindInt(3, data.closingDay);
  if (int code = Run(insertCalendar, "period calendar")) return code;
  Statement insertTax(db_,
                      "INSERT INTO tax_settings(data_no, taxation_kind, rounding_mode, "
                      "deduction_method, main_business_type, tax_inclusive) VALUES "
                      "(?1, ?2, ?3, ?4, ?5, ?6)");
  insertTax.BindInt(1, data.dataNo);
  insertTax.BindInt(2, data.taxationKind);
  insertTax.BindInt(3, data.roundingMode);
  insertTax.BindInt(4, data.deductionMethod);
  insertTax.BindInt(5, data.mainBusinessType);
  insertTax.BindInt(6, data.taxInclusive);
  if (int code = Run(insertTax, "tax settings")) return code;
  prepared_->calendars[data.dataNo] = calendar;
  prepared_->firstMonths[data.dataNo] = firstMonth;
  return kOk;
}

int CompanyWriter::AddUser(const std::string& userId, int selectFirst, int selectSecond) {
  Statement insert(db_,
                   "INSERT INTO users(user_id, select_first, select_second) VALUES (?1, ?2, ?3)");
  insert.BindText(1, userId);
  insert.BindInt(2, selectFirst);
  insert.BindInt(3, selectSecond);
  return Run(insert, "user");
}

int CompanyWriter::AddAccount(int dataNo, const AccountSpec& account) {
  Statement insert(db_,
                   "INSERT INTO accounts(data_no, code, code_text, name, class_code, excluded, "
                   "normal_side, total_flag, parent_code, skip126, skip128) VALUES "
                   "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  insert.BindInt(1, dataNo);
  insert.BindInt(2, account.code);
  insert.BindText(3, account.codeText.empty() ? std::to_string(account.code) : account.codeText);
  insert.BindBlob(4, account.name);
  insert.BindInt(5, account.classCode);
  insert.BindInt(6, account.excluded);
  insert.BindInt(7, account.normalSide);
  insert.BindInt(8, account.totalFlag);
  insert.BindInt(9, account.parentCode);
  insert.BindInt(10, account.skip126);
  insert.BindInt(11, account.skip128);
  return Run(insert, "account");
}

int CompanyWriter::AddDepartment(int dataNo, int code, const std::string& name, int value, int kind,
                                 int incomeCategory) {
  Statement insert(db_,
                   "INSERT INTO departments(data_no, code, name, value, kind, income_category) "
                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  insert.BindInt(1, dataNo);
  insert.BindInt(2, code);
  insert.BindBlob(3, name);
  insert.BindInt(4, value);
  insert.BindInt(5, kind);
  insert.BindInt(6, incomeCategory);
  return Run(insert, "department");
}

int CompanyWriter::MonthIndexOf(int dataNo, int date, int* monthIndex) {
  auto calendar = prepared_->calendars.find(dataNo);
  if (calendar == prepared_->calendars.end()) {
    return Fail(kNotFound, "entry for data " + std::to_string(dataNo) + " before the data");
  }
  short month = 0;
  if (calendar->second.GetAMonthByDate(date, &month, 0) != kOk) {
    return Fail(kBadArgument, "entry dated " + std::to_string(date) + " outside the period");
  }
  *monthIndex = (month - prepared_->firstMonths[dataNo] + 12) % 12 + 1;
  return kOk;
}

int CompanyWriter::AddEntry(int dataNo, const EntrySpec& entry) {
  int monthIndex = entry.monthIndex;
  if (monthIndex == 0) {
    if (int code = MonthIndexOf(dataNo, entry.date, &monthIndex)) return code;
  }
  int entryNo = ++prepared_->lastEntryNo[dataNo];
  Statement& insert = *prepared_->entry;
  insert.Reset();
  insert.BindInt(1, dataNo);
  insert.BindInt(2, entryNo);
  insert.BindInt(3, entry.date);
  insert.BindInt(4, monthIndex);
  insert.BindBlob(5, entry.summary);
  insert.BindInt(6, entry.debitAccount);
  insert.BindInt(7, entry.debitDept);
  insert.BindInt(8, entry.debitAmount);
  insert.BindInt(9, entry.debitTax);
  insert.BindInt(10, entry.debitCategory);
  insert.BindInt(11, entry.creditAccount);
  insert.BindInt(12, entry.creditDept);
  insert.BindInt(13, entry.creditAmount);
  insert.BindInt(14, entry.creditTax);
  insert.BindInt(15, entry.creditCategory);
  insert.BindInt(16, entry.rate);
  insert.BindInt(17, entry.reduced);
  insert.BindInt(18, entry.businessType);
  int rc = insert.Step();
  insert.Reset();
  if (rc != SQLITE_DONE) return Fail(DatabaseCode(rc), "journal entry");
  prepared_->totals.Add(dataNo, monthIndex, entry);
  return kOk;
}

int CompanyWriter::AddAsset(int dataNo, int assetNo, const std::string& name, int date, int kind,
                            std::int64_t amount, int incomeCategory) {
  Statement insert(db_,
                   "INSERT INTO fixed_assets(data_no, asset_no, name, date, kind, amount, "
                   "income_category) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  insert.BindInt(1, dataNo);
  insert.BindInt(2, assetNo);
  insert.BindBlob(3, name);
  insert.BindInt(4, date);
  insert.BindInt(5, kind);
  insert.BindInt(6, amount);
  insert.BindInt(7, incomeCategory);
  return Run(insert, "fixed asset");
}

int CompanyWriter::AddSavedFigure(int dataNo, int offset, int width, std::int64_t value) {
  Statement insert(db_,
                   "INSERT OR REPLACE INTO saved_figures(data_no, offset, width, value) VALUES "
                   "(?1, ?2, ?3, ?4)");
  insert.BindInt(1, dataNo);
  insert.BindInt(2, offset);
  insert.BindInt(3, width);
  insert.BindInt(4, value);
  return Run(insert, "saved figure");
}

}  // namespace ledvia
