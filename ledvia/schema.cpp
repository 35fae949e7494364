#include "ledvia/schema.h"

#include <cstdio>
#include <filesystem>

#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

// Values are checked where the business core relies on them, so that a database written by
// other means cannot hand the program a month index or buffer offset it cannot hold.
constexpr const char* kTables = R"sql(
PRAGMA foreign_keys = ON;
CREATE TABLE ledvia_meta(key TEXT PRIMARY KEY, value);
CREATE TABLE data(
  data_no INTEGER PRIMARY KEY CHECK (data_no BETWEEN 1 AND 2147483647),
  data_id TEXT NOT NULL UNIQUE CHECK (length(data_id) BETWEEN 1 AND 15),
  company_name BLOB NOT NULL CHECK (length(company_name) <= 79),
  period_start INTEGER NOT NULL,
  period_end INTEGER NOT NULL CHECK (period_end >= period_start),
  interim_closing INTEGER NOT NULL DEFAULT 0,
  data_kind INTEGER NOT NULL DEFAULT 0,
  entity_kind INTEGER NOT NULL CHECK (entity_kind BETWEEN 0 AND 255),
  income_kinds INTEGER NOT NULL DEFAULT 0 CHECK (income_kinds BETWEEN 0 AND 255));
CREATE TABLE period_calendar(
  data_no INTEGER PRIMARY KEY REFERENCES data(data_no),
  first_month INTEGER NOT NULL CHECK (first_month BETWEEN 1 AND 12),
  closing_day INTEGER NOT NULL CHECK (closing_day BETWEEN 1 AND 31));
CREATE TABLE users(
  user_id TEXT PRIMARY KEY CHECK (length(user_id) BETWEEN 1 AND 64),
  select_first INTEGER NOT NULL,
  select_second INTEGER NOT NULL);
CREATE TABLE tax_settings(
  data_no INTEGER PRIMARY KEY REFERENCES data(data_no),
  taxation_kind INTEGER NOT NULL CHECK (taxation_kind BETWEEN 0 AND 255),
  rounding_mode INTEGER NOT NULL CHECK (rounding_mode BETWEEN 0 AND 255),
  deduction_method INTEGER NOT NULL CHECK (deduction_method BETWEEN 0 AND 255),
  main_business_type INTEGER NOT NULL CHECK (main_business_type BETWEEN 0 AND 255),
  tax_inclusive INTEGER NOT NULL CHECK (tax_inclusive BETWEEN 0 AND 255));
CREATE TABLE accounts(
  data_no INTEGER NOT NULL REFERENCES data(data_no),
  code INTEGER NOT NULL,
  code_text TEXT NOT NULL CHECK (length(code_text) <= 15),
  name BLOB NOT NULL,
  class_code INTEGER NOT NULL CHECK (class_code BETWEEN 0 AND 4294967295),
  excluded INTEGER NOT NULL DEFAULT 0,
  normal_side INTEGER NOT NULL CHECK (normal_side IN (1, 2)),
  total_flag INTEGER NOT NULL DEFAULT 0,
  parent_code INTEGER NOT NULL DEFAULT 0,
  skip126 INTEGER NOT NULL DEFAULT 0,
  skip128 INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (data_no, code)) WITHOUT ROWID;
CREATE TABLE departments(
  data_no INTEGER NOT NULL REFERENCES data(data_no),
  code INTEGER NOT NULL,
  name BLOB NOT NULL,
  value INTEGER NOT NULL DEFAULT 0,
  kind INTEGER NOT NULL DEFAULT 0 CHECK (kind BETWEEN 0 AND 255),
  income_category INTEGER NOT NULL DEFAULT 1 CHECK (income_category BETWEEN 0 AND 255),
  PRIMARY KEY (data_no, code)) WITHOUT ROWID;
CREATE TABLE journal(
  data_no INTEGER NOT NULL,
  entry_no INTEGER NOT NULL,
  date INTEGER NOT NULL,
  month_index INTEGER NOT NULL CHECK (month_index BETWEEN 1 AND 12 OR month_index IN (15, 18)),
  summary BLOB NOT NULL DEFAULT x'',
  debit_account INTEGER NOT NULL,
  debit_dept INTEGER NOT NULL DEFAULT 0,
  debit_amount INTEGER NOT NULL,
  debit_tax INTEGER NOT NULL DEFAULT 0,
  debit_category INTEGER NOT NULL DEFAULT 0 CHECK (debit_category BETWEEN 0 AND 255),
  credit_account INTEGER NOT NULL,
  credit_dept INTEGER NOT NULL DEFAULT 0,
  credit_amount INTEGER NOT NULL,
  credit_tax INTEGER NOT NULL DEFAULT 0,
  credit_category INTEGER NOT NULL DEFAULT 0 CHECK (credit_category BETWEEN 0 AND 255),
  rate INTEGER NOT NULL DEFAULT 0,
  reduced INTEGER NOT NULL DEFAULT 0 CHECK (reduced IN (0, 1)),
  business_type INTEGER NOT NULL DEFAULT 0 CHECK (business_type BETWEEN 0 AND 6),
  PRIMARY KEY (data_no, entry_no)) WITHOUT ROWID;
CREATE TABLE fixed_assets(
  data_no INTEGER NOT NULL REFERENCES data(data_no),
  asset_no INTEGER NOT NULL,
  name BLOB NOT NULL,
  date INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  amount INTEGER NOT NULL,
  income_category INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY (data_no, asset_no)) WITHOUT ROWID;
CREATE TABLE saved_figures(
  data_no INTEGER NOT NULL REFERENCES data(data_no),
  offset INTEGER NOT NULL,
  width INTEGER NOT NULL CHECK (width IN (1, 2, 4, 8)),
  value INTEGER NOT NULL,
  CHECK (offset >= 0 AND offset + width <= 24576),
  PRIMARY KEY (data_no, offset)) WITHOUT ROWID;
)sql";

constexpr const char* kIndexes = R"sql(
CREATE INDEX journal_month ON journal(data_no, month_index);
CREATE INDEX journal_debit ON journal(data_no, debit_account, month_index);
CREATE INDEX journal_credit ON journal(data_no, credit_account, month_index);
CREATE INDEX fixed_assets_date ON fixed_assets(data_no, date);
ANALYZE;
)sql";

constexpr const char* kTableNames[] = {"data",         "period_calendar", "users",
                                       "tax_settings", "accounts",        "departments",
                                       "journal",      "fixed_assets",    "saved_figures"};

int Exec(sqlite3* db, const char* sql, std::string* error) {
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    *error = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return DatabaseCode(rc);
  }
  return kOk;
}

}  // namespace

int CreateCompanyDatabase(const std::string& path, sqlite3** db, std::string* error) {
  *db = nullptr;
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    *error = path + " is a folder";
    return kBadArgument;
  }
  std::remove(path.c_str());
  sqlite3* created = nullptr;
  int rc =
      sqlite3_open_v2(path.c_str(), &created, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    *error = created != nullptr ? sqlite3_errmsg(created) : sqlite3_errstr(rc);
    sqlite3_close(created);
    return DatabaseCode(rc);
  }
  int code = Exec(created, kTables, error);
  if (code == kOk) {
    char meta[128];
    std::snprintf(meta, sizeof meta,
                  "INSERT INTO ledvia_meta(key, value) VALUES('schema_version', %d);",
                  kSchemaVersion);
    code = Exec(created, meta, error);
  }
  if (code != kOk) {
    sqlite3_close(created);
    return code;
  }
  *db = created;
  return kOk;
}

int CreateCompanyIndexes(sqlite3* db, std::string* error) { return Exec(db, kIndexes, error); }

bool HasCompanyTables(sqlite3* db) {
  for (const char* table : kTableNames) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", -1,
                           &stmt, nullptr) != SQLITE_OK) {
      return false;
    }
    sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
    bool found = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    if (!found) return false;
  }
  return true;
}

}  // namespace ledvia
