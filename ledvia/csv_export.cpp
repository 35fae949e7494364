#include "ledvia/csv_export.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "ledvia/company_file.h"
#include "ledvia/csv_file.h"
#include "ledvia/csv_tables.h"
#include "ledvia/csv_values.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"
#include "winport/encoding.h"

namespace ledvia {
namespace {

// How a database column becomes a field.
enum class Form { kWhole, kText, kDate, kAmount, kRate, kHex };

struct Export {
  const csv::Table& table;
  const char* sql;  // the table's columns in the order of table.columns
  std::vector<Form> forms;
};

std::string Field(const Statement& row, int column, Form form) {
  std::int64_t value = row.Int(column);
  switch (form) {
    case Form::kText: {
      // Names are stored as code page 932; the file is UTF-8.
      std::string bytes = row.Bytes(column);
      std::optional<std::string> utf8 = winport::Cp932ToUtf8Exact(bytes);
      return utf8 ? *utf8 : winport::Cp932ToUtf8(bytes);
    }
    case Form::kDate:
      return csv::FormatDate(static_cast<int>(value));
    case Form::kAmount:
      return csv::FormatAmount(value);
    case Form::kRate:
      return csv::FormatRate(static_cast<int>(value));
    case Form::kHex: {
      char text[24];
      std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
      return text;
    }
    case Form::kWhole:
      break;
  }
  return std::to_string(value);
}

// Writes one table to `file`; 0 or a failure code with `*error` set.
int WriteTable(sqlite3* db, const Export& what, const std::string& file, std::string* error) {
  Statement rows(db, what.sql);
  if (!rows.ok()) {
    *error = "cannot read " + std::string(what.table.file) + ": " + sqlite3_errmsg(db);
    return rows.PrepareCode();
  }
  std::FILE* out = std::fopen(file.c_str(), "wbx");
  if (out == nullptr) {
    *error = "cannot write " + file + ": " + std::strerror(errno);
    return kBadArgument;
  }
  std::string line = "\xEF\xBB\xBF";
  for (std::size_t i = 0; i < what.table.columns.size(); ++i) {
    if (i > 0) line += ',';
    line += what.table.columns[i].name;
  }
  line += "\r\n";
  int rc = SQLITE_ROW;
  bool written = true;
  while (written && (rc = rows.Step()) == SQLITE_ROW) {
    written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
    line.clear();
    for (std::size_t i = 0; i < what.forms.size(); ++i) {
      if (i > 0) line += ',';
      AppendCsvField(&line, Field(rows, static_cast<int>(i), what.forms[i]));
    }
    line += "\r\n";
  }
  written = written && std::fwrite(line.data(), 1, line.size(), out) == line.size();
  written = std::fflush(out) == 0 && written && fsync(fileno(out)) == 0;
  int savedErrno = errno;
  written = std::fclose(out) == 0 && written;
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
    *error = "cannot read " + std::string(what.table.file) + ": " + sqlite3_errmsg(db);
    return DatabaseCode(rc);
  }
  if (!written) {
    *error = "cannot write " + file + ": " + std::strerror(savedErrno);
    return kBadArgument;
  }
  return kOk;
}

std::vector<Export> Exports() {
  using F = Form;
  return {
      {csv::Company(),
       "SELECT d.data_no, data_id, company_name, period_start, period_end, closing_day, "
       "interim_closing, data_kind, entity_kind, income_kinds, taxation_kind, deduction_method, "
       "rounding_mode, main_business_type, tax_inclusive FROM data d "
       "JOIN period_calendar p ON p.data_no = d.data_no "
       "JOIN tax_settings t ON t.data_no = d.data_no ORDER BY d.data_no",
       {F::kWhole, F::kText, F::kText, F::kDate, F::kDate, F::kWhole, F::kWhole, F::kWhole,
        F::kWhole, F::kWhole, F::kWhole, F::kWhole, F::kWhole, F::kWhole, F::kWhole}},
      {csv::Users(),
       "SELECT user_id, select_first, select_second FROM users ORDER BY user_id",
       {F::kText, F::kWhole, F::kWhole}},
      {csv::Accounts(),
       "SELECT data_no, code, code_text, name, parent_code, normal_side, class_code, total_flag, "
       "excluded, skip126, skip128 FROM accounts ORDER BY data_no, code",
       {F::kWhole, F::kWhole, F::kText, F::kText, F::kWhole, F::kWhole, F::kHex, F::kWhole,
        F::kWhole, F::kWhole, F::kWhole}},
      {csv::Departments(),
       "SELECT data_no, code, name, value, kind, income_category FROM departments "
       "ORDER BY data_no, code",
       {F::kWhole, F::kWhole, F::kText, F::kWhole, F::kWhole, F::kWhole}},
      {csv::Journal(),
       "SELECT data_no, date, month_index, debit_account, debit_dept, debit_amount, debit_tax, "
       "debit_category, credit_account, credit_dept, credit_amount, credit_tax, credit_category, "
       "rate, reduced, business_type, summary FROM journal ORDER BY data_no, entry_no",
       {F::kWhole, F::kDate, F::kWhole, F::kWhole, F::kWhole, F::kAmount, F::kAmount, F::kWhole,
        F::kWhole, F::kWhole, F::kAmount, F::kAmount, F::kWhole, F::kRate, F::kWhole, F::kWhole,
        F::kText}},
      {csv::Assets(),
       "SELECT data_no, asset_no, name, date, kind, amount, income_category FROM fixed_assets "
       "ORDER BY data_no, asset_no",
       {F::kWhole, F::kWhole, F::kText, F::kDate, F::kWhole, F::kAmount, F::kWhole}},
      {csv::SavedFigures(),
       "SELECT data_no, offset, width, value FROM saved_figures ORDER BY data_no, offset",
       {F::kWhole, F::kWhole, F::kWhole, F::kWhole}},
  };
}

// Whether the export may take `folder`'s place: nothing is there, or an empty folder.
bool FolderFree(const std::string& folder, std::string* error) {
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0) {
    if (errno == ENOENT) return true;
    *error = "cannot write " + folder + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    *error = folder + " exists and is not a folder; it is left as it is";
    return false;
  }
  std::error_code failed;
  if (!std::filesystem::is_empty(folder, failed) || failed) {
    *error = folder + " is not an empty folder; the export writes only to a new or empty one";
    return false;
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int ExportCompanyCsv(const std::string& path, const std::string& folder, std::string* error) {
  std::string trimmed = folder;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  if (trimmed.empty()) {
    *error = "no folder named to write";
    return kBadArgument;
  }
  if (!FolderFree(trimmed, error)) return kBadArgument;
  CompanyFile company;
  std::string reason;
  if (int code = OpenCompanyFile(path, &company, &reason)) {
    *error = "cannot read " + path + ": " + reason;
    return code;
  }
  std::string temp = trimmed + ".XXXXXX";
  if (mkdtemp(temp.data()) == nullptr) {
    *error = "cannot write beside " + trimmed + ": " + std::strerror(errno);
    sqlite3_close(company.db);
    return kBadArgument;
  }
  int code = kOk;
  for (const Export& what : Exports()) {
    code = WriteTable(company.db, what, temp + "/" + std::string(what.table.file), error);
    if (code != kOk) break;
  }
  sqlite3_close(company.db);
  if (code == kOk) {
    SyncFolder(temp);
    if (std::rename(temp.c_str(), trimmed.c_str()) != 0) {
      *error = "cannot put the export in place at " + trimmed + ": " + std::strerror(errno);
      code = kBadArgument;
    }
  }
  if (code != kOk) {
    std::error_code ignored;
    std::filesystem::remove_all(temp, ignored);
    return code;
  }
  std::string parent = std::filesystem::path(trimmed).parent_path().string();
  SyncFolder(parent.empty() ? "." : parent);
  return kOk;
}

}  // namespace ledvia
