#include "ledvia/schema.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

// The query planner needs the shape of each index, not exact counts: ANALYZE looks at a sample
// of each, which keeps it from costing a pass over every index of a long journal.
constexpr const char* kIndexes = R"sql(
CREATE INDEX journal_month ON journal(data_no, month_index);
CREATE INDEX journal_debit ON journal(data_no, debit_account, month_index);
CREATE INDEX journal_credit ON journal(data_no, credit_account, month_index);
CREATE INDEX fixed_assets_date ON fixed_assets(data_no, date);
PRAGMA analysis_limit = 1000;
ANALYZE;
)sql";

// Version 2: running totals of the journal, so that the summing calls read one row per group
// instead of every entry. journal_groups holds the entries by month, the two sides'
// categories, rate and business type (what a find of categories and months, SumTax and the
// counts need). Version 3 adds journal_side_totals, the sides by month, side, account,
// department and tax category (what sums of sides by category need). Version 4 replaces the
// account totals of versions 2 and 3 (the sides by department, account, side, month, taxed,
// rate and reduced flag) by the two sums read from them: journal_department_totals, the sides
// by department, account, side and month (the account sums), and journal_taxed_totals, the
// taxed sides by rate, reduced flag, month, account and side (the tax sums). Each is a fraction
// of the rows of the wider table, so reading and checking them costs that much less. The
// triggers keep them all in step with every change to the journal, whoever makes it. The sum
// columns have no type, so that a total that leaves 64 bits stays the real number SQLite makes
// of it and is refused when read, instead of turning back into a wrong integer.
constexpr const char* kSummaryTables = R"sql(
CREATE TABLE journal_groups(
  data_no INTEGER NOT NULL,
  month_index INTEGER NOT NULL,
  debit_category INTEGER NOT NULL,
  credit_category INTEGER NOT NULL,
  rate INTEGER NOT NULL,
  reduced INTEGER NOT NULL,
  business_type INTEGER NOT NULL,
  entries INTEGER NOT NULL,
  debit_amount, debit_tax, credit_amount, credit_tax,
  PRIMARY KEY (data_no, month_index, debit_category, credit_category, rate, reduced,
               business_type)) WITHOUT ROWID;
CREATE TABLE journal_department_totals(
  data_no INTEGER NOT NULL,
  dept INTEGER NOT NULL,
  account INTEGER NOT NULL,
  side INTEGER NOT NULL,
  month_index INTEGER NOT NULL,
  sides INTEGER NOT NULL,
  amount, tax,
  PRIMARY KEY (data_no, dept, account, side, month_index)) WITHOUT ROWID;
CREATE TABLE journal_taxed_totals(
  data_no INTEGER NOT NULL,
  rate INTEGER NOT NULL,
  reduced INTEGER NOT NULL,
  month_index INTEGER NOT NULL,
  account INTEGER NOT NULL,
  side INTEGER NOT NULL,
  sides INTEGER NOT NULL,
  amount, tax,
  PRIMARY KEY (data_no, rate, reduced, month_index, account, side)) WITHOUT ROWID;
CREATE TABLE journal_side_totals(
  data_no INTEGER NOT NULL,
  month_index INTEGER NOT NULL,
  side INTEGER NOT NULL,
  account INTEGER NOT NULL,
  dept INTEGER NOT NULL,
  category INTEGER NOT NULL,
  sides INTEGER NOT NULL,
  amount, tax,
  PRIMARY KEY (data_no, month_index, side, account, dept, category)) WITHOUT ROWID;
)sql";

// The statements that add (sign +) or take away (sign -) one journal row (NEW or OLD) in the
// summaries; a group whose last row went is deleted, so that the summaries list exactly the
// groups the journal has.
std::string SummaryChange(const std::string& row, char sign) {
  const std::string r = row + ".";
  std::string groupKey = "data_no = " + r + "data_no AND month_index = " + r +
                         "month_index AND debit_category = " + r +
                         "debit_category AND credit_category = " + r +
                         "credit_category AND rate = " + r + "rate AND reduced = " + r +
                         "reduced AND business_type = " + r + "business_type";
  std::string sql;
  if (sign == '+') {
    sql += "INSERT INTO journal_groups VALUES (" + r + "data_no, " + r + "month_index, " + r +
           "debit_category, " + r + "credit_category, " + r + "rate, " + r + "reduced, " + r +
           "business_type, 1, " + r + "debit_amount, " + r + "debit_tax, " + r + "credit_amount, " +
           r +
           "credit_tax) ON CONFLICT (data_no, month_index, debit_category, credit_category, rate, "
           "reduced, business_type) DO UPDATE SET entries = entries + 1, debit_amount = "
           "debit_amount + excluded.debit_amount, debit_tax = debit_tax + excluded.debit_tax, "
           "credit_amount = credit_amount + excluded.credit_amount, credit_tax = credit_tax + "
           "excluded.credit_tax;\n";
  } else {
    sql += "UPDATE journal_groups SET entries = entries - 1, debit_amount = debit_amount - " + r +
           "debit_amount, debit_tax = debit_tax - " + r +
           "debit_tax, credit_amount = "
           "credit_amount - " +
           r + "credit_amount, credit_tax = credit_tax - " + r + "credit_tax WHERE " + groupKey +
           ";\n";
    sql += "DELETE FROM journal_groups WHERE " + groupKey + " AND entries = 0;\n";
  }
  for (const char* side : {"debit", "credit"}) {
    const std::string p = r + side + "_";
    const std::string sideNo = side[0] == 'd' ? "1" : "2";
    // Adds the side to (sign +) or takes it from (sign -) its sums in `table`, keyed by `key`
    // (column and value), when `where` (SQL) says the table keeps such sides.
    auto changeSums = [&](const char* table,
                          const std::vector<std::pair<std::string, std::string>>& key,
                          const std::string& where) {
      std::string names;
      std::string values;
      std::string match;
      for (const auto& [column, value] : key) {
        names += column + ", ";
        values += value + ", ";
        match += column + " = " + value + " AND ";
      }
      if (sign == '+') {
        names.resize(names.size() - 2);
        sql += std::string("INSERT INTO ") + table + " SELECT " + values + "1, " + p + "amount, " +
               p + "tax WHERE " + where + " ON CONFLICT (" + names +
               ") DO UPDATE SET sides = sides + 1, amount = amount + excluded.amount, tax = tax + "
               "excluded.tax;\n";
      } else {
        sql += std::string("UPDATE ") + table + " SET sides = sides - 1, amount = amount - " + p +
               "amount, tax = tax - " + p + "tax WHERE " + match + where + ";\n";
        sql += std::string("DELETE FROM ") + table + " WHERE " + match + "sides = 0;\n";
      }
    };
    changeSums("journal_department_totals",
               {{"data_no", r + "data_no"},
                {"dept", p + "dept"},
                {"account", p + "account"},
                {"side", sideNo},
                {"month_index", r + "month_index"}},
               "1");
    changeSums("journal_taxed_totals",
               {{"data_no", r + "data_no"},
                {"rate", r + "rate"},
                {"reduced", r + "reduced"},
                {"month_index", r + "month_index"},
                {"account", p + "account"},
                {"side", sideNo}},
               p + "category <> 0");
    changeSums("journal_side_totals",
               {{"data_no", r + "data_no"},
                {"month_index", r + "month_index"},
                {"side", sideNo},
                {"account", p + "account"},
                {"dept", p + "dept"},
                {"category", p + "category"}},
               "1");
  }
  return sql;
}

std::string SummaryTriggers() {
  return "CREATE TRIGGER journal_summaries_insert AFTER INSERT ON journal BEGIN\n" +
         SummaryChange("NEW", '+') +
         "END;\n"
         "CREATE TRIGGER journal_summaries_delete AFTER DELETE ON journal BEGIN\n" +
         SummaryChange("OLD", '-') +
         "END;\n"
         "CREATE TRIGGER journal_summaries_update AFTER UPDATE ON journal BEGIN\n" +
         SummaryChange("OLD", '-') + SummaryChange("NEW", '+') + "END;\n";
}

constexpr const char* kTableNames[] = {"data",         "period_calendar", "users",
                                       "tax_settings", "accounts",        "departments",
                                       "journal",      "fixed_assets",    "saved_figures"};
// The summary tables each version keeps, from the version that added them to the one that
// dropped them.
constexpr struct {
  const char* name;
  int first, last;
} kSummaryTableNames[] = {
    {"journal_groups", 2, kSchemaVersion},       {"journal_account_totals", 2, 3},
    {"journal_side_totals", 3, kSchemaVersion},  {"journal_department_totals", 4, kSchemaVersion},
    {"journal_taxed_totals", 4, kSchemaVersion},
};

int Exec(sqlite3* db, const std::string& sql, std::string* error) {
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    *error = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return DatabaseCode(rc);
  }
  return kOk;
}

bool HasTable(sqlite3* db, const char* table) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", -1,
                         &stmt, nullptr) != SQLITE_OK) {
    return false;
  }
  sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
  bool found = sqlite3_step(stmt) == SQLITE_ROW;
  sqlite3_finalize(stmt);
  return found;
}

}  // namespace

int CreateCompanyDatabase(sqlite3* db, std::string* error, bool triggers) {
  std::string meta = "INSERT INTO ledvia_meta(key, value) VALUES('schema_version', " +
                     std::to_string(kSchemaVersion) + ");";
  return Exec(db,
              std::string(kTables) + kSummaryTables + (triggers ? SummaryTriggers() : "") + meta,
              error);
}

int CreateSummaryTriggers(sqlite3* db, std::string* error) {
  return Exec(db, SummaryTriggers(), error);
}

int CreateCompanyIndexes(sqlite3* db, std::string* error) { return Exec(db, kIndexes, error); }

std::string MissingCompanyTable(sqlite3* db, int version) {
  for (const char* table : kTableNames) {
    if (!HasTable(db, table)) return table;
  }
  for (const auto& table : kSummaryTableNames) {
    if (version >= table.first && version <= table.last && !HasTable(db, table.name)) {
      return table.name;
    }
  }
  return std::string();
}

namespace {

std::vector<std::string> ColumnsOf(sqlite3* db, const char* table) {
  std::vector<std::string> columns;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &stmt, nullptr) ==
      SQLITE_OK) {
    sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
  }
  sqlite3_finalize(stmt);
  return columns;
}

}  // namespace

std::string MissingCompanyColumn(sqlite3* db) {
  // The reference is the schema itself, made afresh in memory: no second list of columns.
  sqlite3* reference = nullptr;
  std::string error;
  if (sqlite3_open(":memory:", &reference) != SQLITE_OK ||
      CreateCompanyDatabase(reference, &error) != kOk) {
    sqlite3_close(reference);
    return "(the reference schema: " + error + ")";
  }
  std::string missing;
  for (const char* table : kTableNames) {
    std::vector<std::string> present = ColumnsOf(db, table);
    for (const std::string& column : ColumnsOf(reference, table)) {
      if (std::find(present.begin(), present.end(), column) == present.end()) {
        missing = std::string(table) + "." + column;
        break;
      }
    }
    if (!missing.empty()) break;
  }
  sqlite3_close(reference);
  return missing;
}

}  // namespace ledvia
