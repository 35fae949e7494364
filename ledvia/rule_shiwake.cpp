// Journal rule: entries matching a find, streamed from one prepared statement.
#include <cstring>

#include "accounting/ClRuleShiwake.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/find_sql.h"
#include "ledvia/journal_source.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

// The number of entries of `dataNo` matching `find`, with an optional extra condition on ?2
// (a column the entry groups also have), counted from the groups where the database keeps them.
int CountEntries(int dataNo, const StFINDINFO* find, const char* extra, std::int64_t extraValue,
                 int* count) {
  EntryRows rows;
  int first = extra != nullptr ? 3 : 2;
  if (int code = EntryRowsFor(find, first, &rows)) return code;
  std::string sql = "SELECT " + rows.count + " FROM " + rows.table + " WHERE data_no = ?1 AND ";
  if (extra != nullptr) sql += std::string(extra) + " AND ";
  Statement stmt(CompanyDatabase(), sql + rows.condition.sql);
  if (!stmt.ok()) return stmt.PrepareCode();
  stmt.BindInt(1, dataNo);
  if (extra != nullptr) stmt.BindInt(2, extraValue);
  stmt.BindAll(first, rows.condition.params);
  int status = stmt.StepStatus();
  if (status != kOk) return status;
  std::int64_t counted = 0;
  if (!stmt.ExactInt(0, &counted) || counted < 0 || counted > 2147483647) return kBadData;
  *count = static_cast<int>(counted);
  return kOk;
}

}  // namespace
}  // namespace ledvia

ClRuleShiwake::ClRuleShiwake() = default;
ClRuleShiwake::~ClRuleShiwake() = default;

int ClRuleShiwake::GetSwkCount(const StFINDINFO* find, const void* /*displayInfo*/, int* count) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::GetSwkCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  return ledvia::CountEntries(dataNo, find, nullptr, 0, count);
}

int ClRuleShiwake::CheckExistSwkByJigyoBunrui(const StFINDINFO* find, int businessType,
                                              int* count) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::CheckExistSwkByJigyoBunrui")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  return ledvia::CountEntries(dataNo, find, "business_type = ?2", businessType, count);
}

int ClRuleShiwake::MoveReady(const StFINDINFO* find, const void* /*order*/,
                             const void* /*displayInfo*/, int /*cursorType*/) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::MoveReady")) return fault;
  cursor_.reset();
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::SqlCondition condition;
  if (int code = ledvia::TranslateFind(find, ledvia::FindTarget::kJournal, 2, &condition)) {
    return code;
  }
  auto cursor = std::make_unique<ledvia::Statement>(
      ledvia::CompanyDatabase(),
      "SELECT entry_no, date, month_index, rate, reduced, business_type, summary, "
      "debit_account, debit_dept, debit_amount, debit_tax, debit_category, "
      "credit_account, credit_dept, credit_amount, credit_tax, credit_category "
      "FROM journal WHERE data_no = ?1 AND " +
          condition.sql + " ORDER BY entry_no");
  if (!cursor->ok()) return cursor->PrepareCode();
  cursor->BindInt(1, dataNo);
  cursor->BindAll(2, condition.params);
  cursor_ = std::move(cursor);
  return ledvia::kOk;
}

int ClRuleShiwake::MoveNext(StSWKTINFO* entry) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::MoveNext")) return fault;
  if (entry == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  int status = cursor_->StepStatus();
  if (status != ledvia::kOk) return status;
  const ledvia::Statement& row = *cursor_;
  std::memset(entry, 0, sizeof *entry);
  entry->entryNo = static_cast<std::int32_t>(row.Int(0));
  entry->date = static_cast<std::int32_t>(row.Int(1));
  entry->monthIndex = static_cast<std::int16_t>(row.Int(2));
  entry->rate = static_cast<std::int32_t>(row.Int(3));
  entry->reduced = static_cast<std::uint8_t>(row.Int(4));
  entry->businessType = static_cast<std::uint8_t>(row.Int(5));
  ledvia::CopyTextField(entry->summary, sizeof entry->summary, row.Bytes(6));
  entry->debitAccount = static_cast<std::int32_t>(row.Int(7));
  entry->debitDept = static_cast<std::int32_t>(row.Int(8));
  entry->debitAmount = row.Int(9);
  entry->debitTax = row.Int(10);
  entry->debitCategory = static_cast<std::uint8_t>(row.Int(11));
  entry->creditAccount = static_cast<std::int32_t>(row.Int(12));
  entry->creditDept = static_cast<std::int32_t>(row.Int(13));
  entry->creditAmount = row.Int(14);
  entry->creditTax = row.Int(15);
  entry->creditCategory = static_cast<std::uint8_t>(row.Int(16));
  return ledvia::kOk;
}

int ClRuleShiwake::MoveFinish() {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::MoveFinish")) return fault;
  cursor_.reset();
  return ledvia::kOk;
}
