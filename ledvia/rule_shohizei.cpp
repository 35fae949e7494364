// Tax-sum rule: per-account sums of the sides booked at one rate. Sides of category 0 (out of
// scope) carry no rate of their own and are left out.
#include <cstring>

#include "accounting/ClRuleShohizei.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

std::string SidesSql(bool taxInclusive) {
  const char* debit = taxInclusive ? "debit_amount + debit_tax" : "debit_amount";
  const char* credit = taxInclusive ? "credit_amount + credit_tax" : "credit_amount";
  const char* where =
      " FROM journal WHERE data_no = ?1 AND rate = ?2 AND reduced = ?3 AND (month_index "
      "BETWEEN ?4 AND ?5 OR month_index = ?6) AND ";
  return std::string("SELECT debit_account AS account, ") + debit +
         " AS dr, 0 AS cr, debit_tax AS drt, 0 AS crt" + where +
         "debit_category <> 0 UNION ALL SELECT credit_account, 0, " + credit + ", 0, credit_tax" +
         where + "credit_category <> 0";
}

// An adjustment period as the last month stands for the months it closes and itself: 15 the
// first half year and the interim adjustment (not months 7 to 12 as well), 18 the year and the
// year-end adjustment. As in the finds, an adjustment is only in when it is named.
void BindRange(Statement& stmt, int dataNo, int rate, int reduced, int first, int last) {
  int lastRegular = last == 15 ? 6 : last == 18 ? 12 : last;
  stmt.BindInt(1, dataNo);
  stmt.BindInt(2, rate);
  stmt.BindInt(3, reduced);
  stmt.BindInt(4, first);
  stmt.BindInt(5, lastRegular);
  stmt.BindInt(6, last == 15 || last == 18 ? last : -1);
}

}  // namespace

}  // namespace ledvia

ClRuleShohizei::ClRuleShohizei() = default;
ClRuleShohizei::~ClRuleShohizei() = default;

int ClRuleShohizei::MoveReady(int /*sumType*/, int firstMonth, int lastMonth, int rate,
                              const void* /*reserved*/, int taxInclusive, int reduced,
                              int /*reserved2*/, int /*reserved3*/) {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::MoveReady")) return fault;
  cursor_.reset();
  count_ = -1;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  std::string sides = ledvia::SidesSql(taxInclusive != 0);
  std::string grouped =
      "SELECT account, SUM(dr) AS dr, SUM(cr) AS cr, SUM(drt) AS drt, "
      "SUM(crt) AS crt FROM (" +
      sides + ") GROUP BY account";
  ledvia::Statement count(ledvia::CompanyDatabase(), "SELECT COUNT(*) FROM (" + grouped + ")");
  if (!count.ok()) return count.PrepareCode();
  ledvia::BindRange(count, dataNo, rate, reduced != 0 ? 1 : 0, firstMonth, lastMonth);
  int status = count.StepStatus();
  if (status != ledvia::kOk) return status;
  auto cursor = std::make_unique<ledvia::Statement>(
      ledvia::CompanyDatabase(),
      "SELECT a.code_text, s.account, a.name, s.dr, s.cr, s.drt, s.crt FROM (" + grouped +
          ") s LEFT JOIN accounts a ON a.data_no = ?1 AND a.code = s.account ORDER BY s.account");
  if (!cursor->ok()) return cursor->PrepareCode();
  ledvia::BindRange(*cursor, dataNo, rate, reduced != 0 ? 1 : 0, firstMonth, lastMonth);
  count_ = static_cast<int>(count.Int(0));
  cursor_ = std::move(cursor);
  return ledvia::kOk;
}

int ClRuleShohizei::GetSumInfoCount(int* count) {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::GetSumInfoCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  *count = count_;
  return ledvia::kOk;
}

int ClRuleShohizei::MoveNext(StTAXSUMINFO* info) {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::MoveNext")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  int status = cursor_->StepStatus();
  if (status != ledvia::kOk) return status;
  const ledvia::Statement& row = *cursor_;
  std::memset(info, 0, sizeof *info);
  ledvia::CopyTextField(info->codeText, sizeof info->codeText, row.Bytes(0));
  info->accountCode = static_cast<std::int32_t>(row.Int(1));
  ledvia::CopyTextField(info->name, sizeof info->name, row.Bytes(2));
  info->debitAmount = row.Int(3);
  info->creditAmount = row.Int(4);
  info->debitTax = row.Int(5);
  info->creditTax = row.Int(6);
  // Computed in a local: the record is byte-packed, so its fields may not be addressed.
  std::int64_t amount = 0;
  if (__builtin_sub_overflow(info->debitAmount, info->creditAmount, &amount)) {
    return ledvia::kBadData;
  }
  info->amount = amount;
  return ledvia::kOk;
}

int ClRuleShohizei::MoveFinish() {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::MoveFinish")) return fault;
  cursor_.reset();
  return ledvia::kOk;
}
