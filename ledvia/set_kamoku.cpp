// Set object 1: the accounts of the selected data.
#include <cstring>

#include "accounting/ClSetKamoku.h"
#include "ledvia/company_database.h"
#include "ledvia/cursor_table.h"
#include "ledvia/fault_injection.h"
#include "ledvia/find_sql.h"
#include "ledvia/session.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

struct AccountCursor {
  bool ready = false;
  std::unique_ptr<Statement> rows;  // prepared on the first WalkFind, with its find
};

CursorTable<AccountCursor>& AccountCursors() {
  static CursorTable<AccountCursor> table;
  return table;
}

void FillAccountInfo(const Statement& row, StKAMOKUINFO* info) {
  std::memset(info, 0, sizeof *info);
  info->accountCode = static_cast<std::int32_t>(row.Int(0));
  CopyTextField(info->codeText, sizeof info->codeText, row.Bytes(1));
  CopyTextField(info->name, sizeof info->name, row.Bytes(2));
  info->classCode = static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Int(3)));
  info->excluded = static_cast<std::uint8_t>(row.Int(4));
  info->normalSide = static_cast<std::uint8_t>(row.Int(5));
  info->totalFlag = static_cast<std::uint8_t>(row.Int(6));
}

}  // namespace
}  // namespace ledvia

int ClSetKamoku::GetCursor(SETCURSOR* cursor) {
  if (int fault = ledvia::FaultFor("ClSetKamoku::GetCursor")) return fault;
  if (cursor == nullptr) return ledvia::kBadArgument;
  if (ledvia::CompanyDatabase() == nullptr) return ledvia::kNoSession;
  *cursor = ledvia::AccountCursors().Open();
  return ledvia::kOk;
}

int ClSetKamoku::ReadyCursor(SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetKamoku::ReadyCursor")) return fault;
  ledvia::AccountCursor* state = ledvia::AccountCursors().Find(cursor);
  if (state == nullptr) return ledvia::kNotReady;
  state->ready = true;
  state->rows.reset();
  return ledvia::kOk;
}

int ClSetKamoku::WalkFind(const StFINDINFO* find, StKAMOKUINFO* info, SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetKamoku::WalkFind")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  ledvia::AccountCursor* state = ledvia::AccountCursors().Find(cursor);
  if (state == nullptr || !state->ready) return ledvia::kNotReady;
  if (state->rows == nullptr) {
    int dataNo = 0;
    if (int code = ledvia::SelectedDataNo(&dataNo)) return code;
    ledvia::SqlCondition condition;
    if (int code = ledvia::TranslateFind(find, ledvia::FindTarget::kAccounts, 2, &condition)) {
      return code;
    }
    auto rows = std::make_unique<ledvia::Statement>(
        ledvia::CompanyDatabase(),
        "SELECT code, code_text, name, class_code, excluded, normal_side, total_flag "
        "FROM accounts WHERE data_no = ?1 AND " +
            condition.sql + " ORDER BY code");
    if (!rows->ok()) return rows->PrepareCode();
    rows->BindInt(1, dataNo);
    rows->BindAll(2, condition.params);
    state->rows = std::move(rows);
  }
  int status = state->rows->StepStatus();
  if (status == ledvia::kOk) ledvia::FillAccountInfo(*state->rows, info);
  return status;
}

int ClSetKamoku::ReleaseCursor(SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetKamoku::ReleaseCursor")) return fault;
  return ledvia::AccountCursors().Close(cursor) ? ledvia::kOk : ledvia::kNotReady;
}
