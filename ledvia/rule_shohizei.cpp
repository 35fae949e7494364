// Tax-sum rule: per-account sums of the sides booked at one rate. Sides of category 0 (out of
// scope) carry no rate of their own and are left out. A stage asks for every rate and every
// window of months in turn; every walk sums its own rate and months from the session's one
// reading of the taxed sides, grouped by rate, month, account and side (account_totals.h: a
// few thousand groups however long the journal). The session reads one snapshot of the file,
// so the groups stay true while it lasts.
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "accounting/ClRuleShohizei.h"
#include "ledvia/account_totals.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
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

// The code text and name of every account of one company data, read by the first walk of a
// session.
struct TaxSumNames {
  unsigned generation = 0;
  int dataNo = 0;
  std::map<std::int32_t, std::pair<std::string, std::string>> accounts;  // code text, name
};

namespace {

int ReadNames(int dataNo, TaxSumNames* out) {
  Statement names(CompanyDatabase(),
                  "SELECT code, code_text, name FROM accounts WHERE data_no = ?1");
  if (!names.ok()) return names.PrepareCode();
  names.BindInt(1, dataNo);
  for (;;) {
    int status = names.StepStatus();
    if (status == kEndOfData) return kOk;
    if (status != kOk) return status;
    out->accounts[static_cast<std::int32_t>(names.Int(0))] = {names.Bytes(1), names.Bytes(2)};
  }
}

// An adjustment period as the last month stands for the months it closes and itself: 15 the
// first half year and the interim adjustment (not months 7 to 12 as well), 18 the year and the
// year-end adjustment. As in the finds, an adjustment is only in when it is named.
bool InWindow(int month, int first, int last) {
  int lastRegular = last == 15 ? 6 : last == 18 ? 12 : last;
  return (month >= first && month <= lastRegular) || ((last == 15 || last == 18) && month == last);
}

// The accounts' debit and credit sums at one rate and window, in account order.
int SumWindow(const std::vector<TaxedSideSum>& groups, const TaxSumNames& names, int rate,
              int reduced, int first, int last, bool taxInclusive, std::vector<TaxSumRow>* out) {
  std::map<std::int32_t, TaxSumRow> byAccount;
  for (const TaxedSideSum& group : groups) {
    if (group.rate != rate || group.reduced != reduced || !InWindow(group.month, first, last)) {
      continue;
    }
    TaxSumRow& row = byAccount[group.account];
    std::int64_t& amount = group.debit ? row.debit : row.credit;
    std::int64_t& tax = group.debit ? row.debitTax : row.creditTax;
    if (__builtin_add_overflow(amount, group.amount, &amount) ||
        __builtin_add_overflow(tax, group.tax, &tax)) {
      return kBadData;
    }
  }
  for (auto& [account, row] : byAccount) {
    row.account = account;
    if (auto found = names.accounts.find(account); found != names.accounts.end()) {
      row.codeText = found->second.first;
      row.name = found->second.second;
    }
    // The tax-included figure is added here, where leaving 64 bits is seen.
    if (taxInclusive && (__builtin_add_overflow(row.debit, row.debitTax, &row.debit) ||
                         __builtin_add_overflow(row.credit, row.creditTax, &row.credit))) {
      return kBadData;
    }
    out->push_back(std::move(row));
  }
  return kOk;
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
  const ledvia::AccountTotals* totals = nullptr;
  if (int code = ledvia::ReadAccountTotals(dataNo, &totals)) return code;
  if (names_ == nullptr || names_->generation != ledvia::CompanyDatabaseGeneration() ||
      names_->dataNo != dataNo) {
    auto names = std::make_unique<ledvia::TaxSumNames>();
    names->generation = ledvia::CompanyDatabaseGeneration();
    names->dataNo = dataNo;
    if (int code = ledvia::ReadNames(dataNo, names.get())) return code;
    names_ = std::move(names);
  }
  auto rows = std::make_unique<ledvia::TaxSumRows>();
  if (int code = ledvia::SumWindow(totals->taxed, *names_, rate, reduced != 0 ? 1 : 0, firstMonth,
                                   lastMonth, taxInclusive != 0, &rows->rows)) {
    return code;
  }
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
