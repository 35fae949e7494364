// Account-sum rule. The accounts are walked with one statement; each account's monthly totals
// come from a second one that reads only that account's journal sides through the account
// indexes, so nothing is held in memory but the current account.
#include <cstring>

#include "accounting/ClRuleKamoku.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

class AccountSumCursor {
 public:
  int Prepare(int dataNo, const StBUMONINFO* department) {
    accounts_ = std::make_unique<Statement>(
        CompanyDatabase(),
        "SELECT code, code_text, name, class_code, normal_side, total_flag, skip126, skip128 "
        "FROM accounts WHERE data_no = ?1 ORDER BY code");
    if (!accounts_->ok()) return accounts_->PrepareCode();
    accounts_->BindInt(1, dataNo);
    // A total account sums the accounts that roll up into it, at any depth.
    const char* deptDebit = department != nullptr ? " AND debit_dept = ?3" : "";
    const char* deptCredit = department != nullptr ? " AND credit_dept = ?3" : "";
    sums_ = std::make_unique<Statement>(
        CompanyDatabase(),
        std::string("WITH RECURSIVE members(code) AS (SELECT ?2 UNION SELECT a.code FROM "
                    "accounts a JOIN members m ON a.parent_code = m.code WHERE a.data_no = ?1) "
                    "SELECT month_index, 1, SUM(debit_amount), SUM(debit_amount + debit_tax) "
                    "FROM journal WHERE data_no = ?1 AND debit_account IN members") +
            deptDebit +
            " GROUP BY month_index UNION ALL "
            "SELECT month_index, 2, SUM(credit_amount), SUM(credit_amount + credit_tax) "
            "FROM journal WHERE data_no = ?1 AND credit_account IN members" +
            deptCredit + " GROUP BY month_index");
    if (!sums_->ok()) return sums_->PrepareCode();
    sums_->BindInt(1, dataNo);
    if (department != nullptr) sums_->BindInt(3, department->code);
    Statement count(CompanyDatabase(), "SELECT COUNT(*) FROM accounts WHERE data_no = ?1");
    if (!count.ok()) return count.PrepareCode();
    count.BindInt(1, dataNo);
    int status = count.StepStatus();
    if (status != kOk) return status;
    count_ = static_cast<int>(count.Int(0));
    return kOk;
  }

  int Count() const { return count_; }

  int SetPosition(int position) {
    if (position < 0 || position > count_) return kBadArgument;
    accounts_->Reset();
    for (int i = 0; i < position; ++i) {
      int status = accounts_->StepStatus();
      if (status != kOk) return status == kEndOfData ? kBadArgument : status;
    }
    return kOk;
  }

  int Next(StKAMOKUSUMINFO* info) {
    int status = accounts_->StepStatus();
    if (status != kOk) return status;
    std::memset(info, 0, sizeof *info);
    const Statement& account = *accounts_;
    info->accountCode = static_cast<std::int32_t>(account.Int(0));
    CopyTextField(info->codeText, sizeof info->codeText, account.Bytes(1));
    CopyTextField(info->name, sizeof info->name, account.Bytes(2));
    info->classCode = static_cast<std::int32_t>(static_cast<std::uint32_t>(account.Int(3)));
    info->normalSide = static_cast<std::uint8_t>(account.Int(4));
    info->totalFlag = static_cast<std::uint8_t>(account.Int(5));
    info->skip126 = static_cast<std::uint8_t>(account.Int(6));
    info->skip128 = static_cast<std::uint8_t>(account.Int(7));
    sums_->Reset();
    sums_->BindInt(2, info->accountCode);
    for (;;) {
      status = sums_->StepStatus();
      if (status == kEndOfData) break;
      if (status != kOk) return status;
      int slot = ArraySlot(static_cast<int>(sums_->Int(0)));
      if (slot < 0) return kBadData;
      bool debit = sums_->Int(1) == 1;
      info->SetMonthAmount(debit ? StKAMOKUSUMINFO::kDebitExcluded
                                 : StKAMOKUSUMINFO::kCreditExcluded,
                           slot, sums_->Int(2));
      info->SetMonthAmount(debit ? StKAMOKUSUMINFO::kDebitIncluded
                                 : StKAMOKUSUMINFO::kCreditIncluded,
                           slot, sums_->Int(3));
    }
    sums_->Reset();
    return kOk;
  }

 private:
  // Find month 18 (year-end adjustment) is array slot 13, find month 15 (interim) slot 14.
  static int ArraySlot(int monthIndex) {
    if (monthIndex >= 1 && monthIndex <= 12) return monthIndex;
    if (monthIndex == 18) return kAccountSumYearEndIndex;
    if (monthIndex == 15) return kAccountSumInterimIndex;
    return -1;
  }

  std::unique_ptr<Statement> accounts_;
  std::unique_ptr<Statement> sums_;
  int count_ = 0;
};

}  // namespace ledvia

ClRuleKamoku::ClRuleKamoku() = default;
ClRuleKamoku::~ClRuleKamoku() = default;

int ClRuleKamoku::MoveReady(int /*baseSumType*/, int deptSumType, int /*displayType*/,
                            const StFINDINFO* /*monthFind*/, const StBUMONINFO* department,
                            int /*pastType*/) {
  if (int fault = ledvia::FaultFor("ClRuleKamoku::MoveReady")) return fault;
  cursor_.reset();
  if (deptSumType != 0 && deptSumType != 4) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  auto cursor = std::make_unique<ledvia::AccountSumCursor>();
  if (int code = cursor->Prepare(dataNo, department)) return code;
  cursor_ = std::move(cursor);
  return ledvia::kOk;
}

int ClRuleKamoku::GetSumCount(int* count) {
  if (int fault = ledvia::FaultFor("ClRuleKamoku::GetSumCount")) return fault;
  if (count == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  *count = cursor_->Count();
  return ledvia::kOk;
}

int ClRuleKamoku::SetMovePos(int position) {
  if (int fault = ledvia::FaultFor("ClRuleKamoku::SetMovePos")) return fault;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  return cursor_->SetPosition(position);
}

int ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* info) {
  if (int fault = ledvia::FaultFor("ClRuleKamoku::MoveNext")) return fault;
  if (info == nullptr) return ledvia::kBadArgument;
  if (cursor_ == nullptr) return ledvia::kNotReady;
  return cursor_->Next(info);
}

int ClRuleKamoku::MoveFinish() {
  if (int fault = ledvia::FaultFor("ClRuleKamoku::MoveFinish")) return fault;
  cursor_.reset();
  return ledvia::kOk;
}
