// Tax-sum rule: per-account sums of the sides booked at one rate. Sides of category 0 (out of
// scope) carry no rate of their own and are left out. A stage asks for every rate and every
// window of months in turn, so the first walk reads the taxed sides once, grouped by rate,
// month, account and side (a few thousand groups however long the journal), and every walk
// sums its own rate and months from them: one pass instead of one per rate and window. The
// session reads one snapshot of the file, so the groups stay true while it lasts.
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>
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

// The taxed sides of one company data summed by rate, reduced flag, month, account and side.
struct TaxSumGroups {
  struct Group {
    std::int32_t rate = 0;
    std::int32_t reduced = 0;
    std::int32_t month = 0;
    std::int32_t account = 0;
    bool debit = false;
    std::int64_t amount = 0;
    std::int64_t tax = 0;
  };
  unsigned generation = 0;
  int dataNo = 0;
  std::vector<Group> groups;
  std::map<std::int32_t, std::pair<std::string, std::string>> accounts;  // code text, name
};

namespace {

int ReadGroups(int dataNo, TaxSumGroups* out) {
  // Grouped here rather than by SQL: a GROUP BY sorts every row first, which costs several
  // times the reading itself.
  Statement sides(CompanyDatabase(),
                  "SELECT rate, reduced, month_index, account, side, amount, "
                  "tax FROM " +
                      SideRows() + " WHERE data_no = ?1 AND taxed = 1");
  if (!sides.ok()) return sides.PrepareCode();
  sides.BindInt(1, dataNo);
  std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool>, std::size_t>
      index;
  for (;;) {
    int status = sides.StepStatus();
    if (status == kEndOfData) break;
    if (status != kOk) return status;
    TaxSumGroups::Group side;
    side.rate = static_cast<std::int32_t>(sides.Int(0));
    side.reduced = sides.Int(1) != 0 ? 1 : 0;
    side.month = static_cast<std::int32_t>(sides.Int(2));
    side.account = static_cast<std::int32_t>(sides.Int(3));
    side.debit = sides.Int(4) == 1;
    // A total that left 64 bits is a real number here, refused rather than rounded.
    if (!sides.ExactInt(5, &side.amount) || !sides.ExactInt(6, &side.tax)) return kBadData;
    auto [at, added] = index.try_emplace(
        std::make_tuple(side.rate, side.reduced, side.month, side.account, side.debit),
        out->groups.size());
    if (added) {
      out->groups.push_back(side);
      continue;
    }
    TaxSumGroups::Group& group = out->groups[at->second];
    if (__builtin_add_overflow(group.amount, side.amount, &group.amount) ||
        __builtin_add_overflow(group.tax, side.tax, &group.tax)) {
      return kBadData;
    }
  }
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
int SumWindow(const TaxSumGroups& sums, int rate, int reduced, int first, int last,
              bool taxInclusive, std::vector<TaxSumRow>* out) {
  std::map<std::int32_t, TaxSumRow> byAccount;
  for (const TaxSumGroups::Group& group : sums.groups) {
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
    if (auto names = sums.accounts.find(account); names != sums.accounts.end()) {
      row.codeText = names->second.first;
      row.name = names->second.second;
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
  if (sums_ == nullptr || sums_->generation != ledvia::CompanyDatabaseGeneration() ||
      sums_->dataNo != dataNo) {
    auto sums = std::make_unique<ledvia::TaxSumGroups>();
    sums->generation = ledvia::CompanyDatabaseGeneration();
    sums->dataNo = dataNo;
    if (int code = ledvia::ReadGroups(dataNo, sums.get())) return code;
    sums_ = std::move(sums);
  }
  auto rows = std::make_unique<ledvia::TaxSumRows>();
  if (int code = ledvia::SumWindow(*sums_, rate, reduced != 0 ? 1 : 0, firstMonth, lastMonth,
                                   taxInclusive != 0, &rows->rows)) {
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
