#include "ledvia/statement.h"

#include <cstring>

#include "ledvia/status_codes.h"
#include "winport/cp932.h"

namespace ledvia {

Statement::Statement(sqlite3* db, const std::string& sql) {
  if (db == nullptr) {
    prepareCode_ = kNoSession;
    return;
  }
  int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    prepareCode_ = DatabaseCode(rc);
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::BindInt(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

void Statement::BindReal(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void Statement::BindText(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::BindBlob(int index, std::string_view bytes) {
  sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void Statement::BindAll(int first, const std::vector<std::int64_t>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    BindInt(first + static_cast<int>(i), values[i]);
  }
}

int Statement::Step() { return sqlite3_step(stmt_); }

int Statement::StepStatus() {
  if (stmt_ == nullptr) return prepareCode_ != 0 ? prepareCode_ : kNotReady;
  // SQLite would reset a finished statement on the next step and deliver the first row again.
  if (exhausted_) return kEndOfData;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return kOk;
  if (rc == SQLITE_DONE) {
    exhausted_ = true;
    return kEndOfData;
  }
  // SUM raises this error instead of wrapping round; it is a figure outside the data model.
  if (rc == SQLITE_ERROR &&
      std::strcmp(sqlite3_errmsg(sqlite3_db_handle(stmt_)), "integer overflow") == 0) {
    return kBadData;
  }
  return DatabaseCode(rc);
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  exhausted_ = false;
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Bytes(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return std::string();
  return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

bool Statement::ExactInt(int column, std::int64_t* value) const {
  int type = sqlite3_column_type(stmt_, column);
  *value = type == SQLITE_INTEGER ? sqlite3_column_int64(stmt_, column) : 0;
  return type == SQLITE_INTEGER || type == SQLITE_NULL;
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

void CopyTextField(char* field, std::size_t size, std::string_view bytes) {
  if (size == 0) return;
  std::size_t length = 0;
  // Walk character by character so that a double-byte character is kept whole or dropped.
  while (length < bytes.size()) {
    std::size_t width =
        winport::cp932::IsLeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1;
    if (bytes[length] == '\0' || length + width > size - 1 || length + width > bytes.size()) break;
    length += width;
  }
  std::memcpy(field, bytes.data(), length);
  std::memset(field + length, 0, size - length);
}

}  // namespace ledvia
