// Set object 2: the departments of the selected data.
#include <cstring>
#include <unordered_map>

#include "accounting/ClSetBumon.h"
#include "ledvia/company_database.h"
#include "ledvia/cursor_table.h"
#include "ledvia/fault_injection.h"
#include "ledvia/session.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

constexpr const char* kDepartmentColumns =
    "SELECT code, name, value, kind, income_category FROM departments WHERE data_no = ?1";

struct DepartmentCursor {
  int dataNo = 0;
  std::unique_ptr<Statement> rows;  // the walk
  // Lookups: every department of the data, read at the first lookup of a ready cursor. A
  // journal walk looks a department up for nearly every line; the departments are few.
  bool loaded = false;
  std::unordered_map<std::int32_t, StBUMONINFO> byCode;
};

CursorTable<DepartmentCursor>& DepartmentCursors() {
  static CursorTable<DepartmentCursor> table;
  return table;
}

void FillDepartmentInfo(const Statement& row, StBUMONINFO* info) {
  std::memset(info, 0, sizeof *info);
  info->code = static_cast<std::int32_t>(row.Int(0));
  CopyTextField(info->name, sizeof info->name, row.Bytes(1));
  info->value = static_cast<std::int32_t>(row.Int(2));
  info->kind = static_cast<std::uint8_t>(row.Int(3));
  info->incomeCategory = static_cast<std::uint8_t>(row.Int(4));
}

}  // namespace
}  // namespace ledvia

int ClSetBumon::GetBmnCount(int* count, int /*mode*/) {
  if (int fault = ledvia::FaultFor("ClSetBumon::GetBmnCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = ledvia::SelectedDataNo(&dataNo)) return code;
  ledvia::Statement stmt(ledvia::CompanyDatabase(),
                         "SELECT COUNT(*) FROM departments WHERE data_no = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindInt(1, dataNo);
  int status = stmt.StepStatus();
  if (status != ledvia::kOk) return status;
  *count = static_cast<int>(stmt.Int(0));
  return ledvia::kOk;
}

int ClSetBumon::GetCursor(SETCURSOR* cursor) {
  if (int fault = ledvia::FaultFor("ClSetBumon::GetCursor")) return fault;
  if (cursor == nullptr) return ledvia::kBadArgument;
  if (ledvia::CompanyDatabase() == nullptr) return ledvia::kNoSession;
  *cursor = ledvia::DepartmentCursors().Open();
  return ledvia::kOk;
}

int ClSetBumon::ReadyCursor(SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetBumon::ReadyCursor")) return fault;
  ledvia::DepartmentCursor* state = ledvia::DepartmentCursors().Find(cursor);
  if (state == nullptr) return ledvia::kNotReady;
  int dataNo = 0;
  if (int code = ledvia::SelectedDataNo(&dataNo)) return code;
  // Readying again restarts the walk; the statement is kept, as the journal walk readies the
  // cursor once per line it looks a department up for.
  if (state->rows != nullptr && state->dataNo == dataNo) {
    state->rows->Reset();
    state->rows->BindInt(1, dataNo);
    return ledvia::kOk;
  }
  state->dataNo = dataNo;
  auto rows = std::make_unique<ledvia::Statement>(
      ledvia::CompanyDatabase(), std::string(ledvia::kDepartmentColumns) + " ORDER BY code");
  if (!rows->ok()) return rows->PrepareCode();
  rows->BindInt(1, state->dataNo);
  state->rows = std::move(rows);
  state->loaded = false;
  state->byCode.clear();
  return ledvia::kOk;
}

int ClSetBumon::Walk(StBUMONINFO* info, SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetBumon::Walk")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  ledvia::DepartmentCursor* state = ledvia::DepartmentCursors().Find(cursor);
  if (state == nullptr || state->rows == nullptr) return ledvia::kNotReady;
  int status = state->rows->StepStatus();
  if (status == ledvia::kOk) ledvia::FillDepartmentInfo(*state->rows, info);
  return status;
}

int ClSetBumon::GetInfoByCode(SETCURSOR cursor, std::int32_t code, StBUMONINFO* info) {
  if (int fault = ledvia::FaultFor("ClSetBumon::GetInfoByCode")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  ledvia::DepartmentCursor* state = ledvia::DepartmentCursors().Find(cursor);
  if (state == nullptr || state->rows == nullptr) return ledvia::kNotReady;
  if (!state->loaded) {
    ledvia::Statement all(ledvia::CompanyDatabase(), ledvia::kDepartmentColumns);
    if (!all.ok()) return all.PrepareCode();
    all.BindInt(1, state->dataNo);
    int status = ledvia::kOk;
    StBUMONINFO department;
    while ((status = all.StepStatus()) == ledvia::kOk) {
      ledvia::FillDepartmentInfo(all, &department);
      state->byCode[department.code] = department;
    }
    if (status != ledvia::kEndOfData) {
      state->byCode.clear();
      return status;
    }
    state->loaded = true;
  }
  auto found = state->byCode.find(code);
  if (found == state->byCode.end()) {
    // No stale record from an earlier lookup: the caller gets a cleared one.
    std::memset(info, 0, sizeof *info);
    return ledvia::kNotFound;
  }
  *info = found->second;
  return ledvia::kOk;
}

int ClSetBumon::ReleaseCursor(SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetBumon::ReleaseCursor")) return fault;
  return ledvia::DepartmentCursors().Close(cursor) ? ledvia::kOk : ledvia::kNotReady;
}
