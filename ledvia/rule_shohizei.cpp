// Tax-sum rule: per-account sums of the sides booked at one rate. Sides of category 0 (out of
// scope) carry no rate of their own and are left out. The sums are read in one grouped pass
// when the walk is prepared (one row per account, so they are few) and handed out from memory:
// the count needs no second pass.
#include <cstring>
#include <string>
#include <vector>

#include "accounting/ClRuleShohizei.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/journal_source.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

struct TaxSumRow {
  std::int32_t account = 0;
  std::string codeText;
  std::string name;
  std::int64_t debit = 0;  // tax-excluded or tax-included, as asked
  std::int64_t credit = 0;
  std::int64_t debitTax = 0;
  std::int64_t creditTax = 0;
};

struct TaxSumRows {
  std::vector<TaxSumRow> rows;
  std::size_t next = 0;
};

namespace {

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

// Reads the accounts' debit and credit sums (one SQL row per account and side) into `out`.
int ReadRows(Statement& stmt, bool taxInclusive, std::vector<TaxSumRow>* out) {
  for (;;) {
    int status = stmt.StepStatus();
    if (status == kEndOfData) return kOk;
    if (status != kOk) return status;
    auto account = static_cast<std::int32_t>(stmt.Int(0));
    if (out->empty() || out->back().account != account) {
      TaxSumRow row;
      row.account = account;
      row.codeText = stmt.Bytes(4);
      row.name = stmt.Bytes(5);
      out->push_back(std::move(row));
    }
    std::int64_t amount = 0;
    std::int64_t tax = 0;
    // The tax-included figure is added here, where leaving 64 bits is seen, not in SQL.
    if (!stmt.ExactInt(2, &amount) || !stmt.ExactInt(3, &tax) ||
        (taxInclusive && __builtin_add_overflow(amount, tax, &amount))) {
      return kBadData;
    }
    TaxSumRow& row = out->back();
    if (stmt.Int(1) == 1) {
      row.debit = amount;
      row.debitTax = tax;
    } else {
      row.credit = amount;
      row.creditTax = tax;
    }
  }
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
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::Statement grouped(
      ledvia::CompanyDatabase(),
      "SELECT g.account, g.side, g.amount, g.tax, a.code_text, a.name FROM (SELECT account, "
      "side, SUM(amount) AS amount, SUM(tax) AS tax FROM " +
          ledvia::SideRows() +
          " WHERE data_no = ?1 AND rate = ?2 AND reduced = ?3 AND (month_index BETWEEN ?4 AND "
          "?5 OR month_index = ?6) AND taxed = 1 GROUP BY account, side) g LEFT JOIN accounts a "
          "ON a.data_no = ?1 AND a.code = g.account ORDER BY g.account, g.side");
  if (!grouped.ok()) return grouped.PrepareCode();
  ledvia::BindRange(grouped, dataNo, rate, reduced != 0 ? 1 : 0, firstMonth, lastMonth);
  auto rows = std::make_unique<ledvia::TaxSumRows>();
  if (int code = ledvia::ReadRows(grouped, taxInclusive != 0, &rows->rows)) return code;
  cursor_ = std::move(rows);
  return ledvia::kOk;
}

int ClRuleShohizei::GetSumInfoCount(int* count) {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::GetSumInfoCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  *count = static_cast<int>(cursor_->rows.size());
  return ledvia::kOk;
}

int ClRuleShohizei::MoveNext(StTAXSUMINFO* info) {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::MoveNext")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  if (cursor_->next >= cursor_->rows.size()) return ledvia::kEndOfData;
  const ledvia::TaxSumRow& row = cursor_->rows[cursor_->next++];
  std::memset(info, 0, sizeof *info);
  ledvia::CopyTextField(info->codeText, sizeof info->codeText, row.codeText);
  info->accountCode = row.account;
  ledvia::CopyTextField(info->name, sizeof info->name, row.name);
  info->debitAmount = row.debit;
  info->creditAmount = row.credit;
  info->debitTax = row.debitTax;
  info->creditTax = row.creditTax;
  // Computed in a local: the record is byte-packed, so its fields may not be addressed.
  std::int64_t amount = 0;
  if (__builtin_sub_overflow(row.debit, row.credit, &amount)) return ledvia::kBadData;
  info->amount = amount;
  return ledvia::kOk;
}

int ClRuleShohizei::MoveFinish() {
  if (int fault = ledvia::FaultFor("ClRuleShohizei::MoveFinish")) return fault;
  cursor_.reset();
  return ledvia::kOk;
}
