// Set object 5: the company data list and the period calendar of the selected data.
#include <cstring>

#include "accounting/ClSetData.h"
#include "ledvia/calendar_dates.h"
#include "ledvia/company_database.h"
#include "ledvia/cursor_table.h"
#include "ledvia/fault_injection.h"
#include "ledvia/session.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

constexpr const char* kDataColumns =
    "SELECT data_no, data_id, company_name, period_start, period_end, interim_closing, "
    "data_kind, entity_kind, income_kinds FROM data";

void FillDataInfo(const Statement& row, StDATAINFO* info) {
  std::memset(info, 0, sizeof *info);
  info->dataNo = static_cast<std::int32_t>(row.Int(0));
  CopyTextField(info->dataId, sizeof info->dataId, row.Bytes(1));
  CopyTextField(info->companyName, sizeof info->companyName, row.Bytes(2));
  info->periodStart = static_cast<std::int32_t>(row.Int(3));
  info->periodEnd = static_cast<std::int32_t>(row.Int(4));
  info->interimClosing = static_cast<std::int32_t>(row.Int(5));
  info->dataKind = static_cast<std::int16_t>(row.Int(6));
  info->entityKind = static_cast<std::uint8_t>(row.Int(7));
  info->incomeKinds = static_cast<std::uint8_t>(row.Int(8));
}

struct DataCursor {
  std::unique_ptr<Statement> rows;
};

CursorTable<DataCursor>& DataCursors() {
  static CursorTable<DataCursor> table;
  return table;
}

}  // namespace
}  // namespace ledvia

int ClSetData::GetSelectedInfo(StDATAINFO* info) {
  if (int fault = ledvia::FaultFor("ClSetData::GetSelectedInfo")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = ledvia::SelectedDataNo(&dataNo)) return code;
  ledvia::Statement stmt(ledvia::CompanyDatabase(),
                         std::string(ledvia::kDataColumns) + " WHERE data_no = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindInt(1, dataNo);
  int status = stmt.StepStatus();
  if (status == ledvia::kEndOfData) return ledvia::kNotFound;
  if (status != ledvia::kOk) return status;
  ledvia::FillDataInfo(stmt, info);
  return ledvia::kOk;
}

int ClSetData::GetDatCursor(SETCURSOR* cursor) {
  if (int fault = ledvia::FaultFor("ClSetData::GetDatCursor")) return fault;
  if (cursor == nullptr) return ledvia::kBadArgument;
  if (ledvia::CompanyDatabase() == nullptr) return ledvia::kNoSession;
  *cursor = ledvia::DataCursors().Open();
  return ledvia::kOk;
}

int ClSetData::ReadyDat(SETCURSOR cursor, int /*mode*/) {
  if (int fault = ledvia::FaultFor("ClSetData::ReadyDat")) return fault;
  ledvia::DataCursor* state = ledvia::DataCursors().Find(cursor);
  if (state == nullptr) return ledvia::kNotReady;
  state->rows = std::make_unique<ledvia::Statement>(
      ledvia::CompanyDatabase(), std::string(ledvia::kDataColumns) + " ORDER BY data_no");
  return state->rows->ok() ? ledvia::kOk : state->rows->PrepareCode();
}

int ClSetData::WalkDat(StDATAINFO* info, SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetData::WalkDat")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  ledvia::DataCursor* state = ledvia::DataCursors().Find(cursor);
  if (state == nullptr || state->rows == nullptr) return ledvia::kNotReady;
  int status = state->rows->StepStatus();
  if (status == ledvia::kOk) ledvia::FillDataInfo(*state->rows, info);
  return status;
}

int ClSetData::ReleaseDatCursor(SETCURSOR cursor) {
  if (int fault = ledvia::FaultFor("ClSetData::ReleaseDatCursor")) return fault;
  return ledvia::DataCursors().Close(cursor) ? ledvia::kOk : ledvia::kNotReady;
}

int ClSetData::GetAccPeriod(ClAccPeriod** period) {
  if (period == nullptr) return ledvia::kBadArgument;
  *period = nullptr;
  if (int fault = ledvia::FaultFor("ClSetData::GetAccPeriod")) return fault;
  int dataNo = 0;
  if (int code = ledvia::SelectedDataNo(&dataNo)) return code;
  ledvia::Statement stmt(ledvia::CompanyDatabase(),
                         "SELECT d.period_start, d.period_end, c.first_month, c.closing_day "
                         "FROM data d JOIN period_calendar c ON c.data_no = d.data_no "
                         "WHERE d.data_no = ?1");
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindInt(1, dataNo);
  int status = stmt.StepStatus();
  if (status == ledvia::kEndOfData) return ledvia::kNotFound;
  if (status != ledvia::kOk) return status;
  auto start = static_cast<int>(stmt.Int(0));
  auto end = static_cast<int>(stmt.Int(1));
  // A stored period that no calendar can hold (more than a year, not a date) is bad data; what
  // the calendar itself answers below is passed on as it is.
  if (!ledvia::IsValidDate(start) || !ledvia::IsValidDate(end) || end < start ||
      end >= start + 10000) {
    return ledvia::kBadData;
  }
  auto* made = new (std::nothrow) ClAccPeriod();
  if (made == nullptr) return ledvia::kBadArgument;
  short firstMonth = 0;
  int code = made->SetClosingDay(static_cast<int>(stmt.Int(3)));
  if (code == ledvia::kOk) code = made->SetPeriod(start, end);
  if (code == ledvia::kOk) code = made->GetAMonthByDate(start, &firstMonth, 0);
  // The stored first month must agree with the period and closing day, or month indices of
  // the journal would not match the calendar's months.
  if (code == ledvia::kOk && firstMonth != stmt.Int(2)) code = ledvia::kBadData;
  if (code != ledvia::kOk) {
    delete made;
    return code;
  }
  *period = made;
  return ledvia::kOk;
}
