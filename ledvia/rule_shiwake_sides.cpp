// Journal rule: the journal's sides summed by month, side, account, department and category.
#include <cstring>
#include <memory>
#include <string>

#include "accounting/ClRuleShiwake.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/find_sql.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

// The sides with their categories summed by month, side, account, department and category, in
// that order, for the sides `condition` keeps: the side totals where the database keeps them
// (schema 3), whose key is that grouping already, else the journal itself, one row per side.
std::string SideSumSql(const std::string& condition) {
  constexpr const char* kOrder = " ORDER BY month_index, side, account, dept, category";
  if (CompanyDatabaseHasSideTotals()) {
    return "SELECT month_index, side, account, dept, category, sides, amount, tax FROM "
           "journal_side_totals WHERE data_no = ?1 AND " +
           condition + kOrder;
  }
  return "SELECT month_index, side, account, dept, category, SUM(sides), SUM(amount), SUM(tax) "
         "FROM (SELECT data_no, month_index, 1 AS side, debit_account AS account, debit_dept AS "
         "dept, debit_category AS category, 1 AS sides, debit_amount AS amount, debit_tax AS tax "
         "FROM journal UNION ALL SELECT data_no, month_index, 2, credit_account, credit_dept, "
         "credit_category, 1, credit_amount, credit_tax FROM journal) WHERE data_no = ?1 AND " +
         condition + " GROUP BY month_index, side, account, dept, category" + kOrder;
}

}  // namespace
}  // namespace ledvia

int ClRuleShiwake::MoveReadySideSum(const StFINDINFO* find) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::MoveReadySideSum")) return fault;
  cursor_.reset();
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::SqlCondition condition;
  if (int code = ledvia::TranslateFind(find, ledvia::FindTarget::kJournalSides, 2, &condition)) {
    return code;
  }
  auto cursor = std::make_unique<ledvia::Statement>(ledvia::CompanyDatabase(),
                                                    ledvia::SideSumSql(condition.sql));
  if (!cursor->ok()) return cursor->PrepareCode();
  cursor->BindInt(1, dataNo);
  cursor->BindAll(2, condition.params);
  cursor_ = std::move(cursor);
  return ledvia::kOk;
}

int ClRuleShiwake::MoveNextSideSum(StSWKSIDESUMINFO* sum) {
  if (int fault = ledvia::FaultFor("ClRuleShiwake::MoveNextSideSum")) return fault;
  if (sum == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  int status = cursor_->StepStatus();
  if (status != ledvia::kOk) return status;
  const ledvia::Statement& row = *cursor_;
  std::int64_t sides = 0;
  std::int64_t amount = 0;
  std::int64_t tax = 0;
  if (!row.ExactInt(5, &sides) || sides < 0 || sides > 2147483647 || !row.ExactInt(6, &amount) ||
      !row.ExactInt(7, &tax)) {
    return ledvia::kBadData;
  }
  std::memset(sum, 0, sizeof *sum);
  sum->monthIndex = static_cast<std::int16_t>(row.Int(0));
  sum->side = static_cast<std::uint8_t>(row.Int(1));
  sum->account = static_cast<std::int32_t>(row.Int(2));
  sum->dept = static_cast<std::int32_t>(row.Int(3));
  sum->category = static_cast<std::uint8_t>(row.Int(4));
  sum->sides = static_cast<std::int32_t>(sides);
  sum->amount = amount;
  sum->tax = tax;
  return ledvia::kOk;
}
