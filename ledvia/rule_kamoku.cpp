// Account-sum rule. The session's one reading of the account totals (account_totals.h) gives
// every account's monthly totals, of one department or all; the result holds one row per
// account and month, so memory follows the chart of accounts, not the number of entries. Total
// accounts then receive the totals of the accounts below them, and the accounts themselves are
// read once, in code order, and handed out from memory.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "accounting/ClRuleKamoku.h"
#include "ledvia/account_totals.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

class AccountSumCursor {
 public:
  int Prepare(int dataNo, const StBUMONINFO* department) {
    if (int code = LoadSums(dataNo, department)) return code;
    if (int code = RollUpTotals(dataNo)) return code;
    return LoadAccounts(dataNo);
  }

  int Count() const { return static_cast<int>(accounts_.size()); }

  int SetPosition(int position) {
    if (position < 0 || position > Count()) return kBadArgument;
    next_ = static_cast<std::size_t>(position);
    return kOk;
  }

  int Next(StKAMOKUSUMINFO* info) {
    if (next_ >= accounts_.size()) return kEndOfData;
    *info = accounts_[next_++];
    auto found = sums_.find(info->accountCode);
    if (found != sums_.end()) {
      for (int array = 0; array < 4; ++array) {
        for (int slot = 0; slot < 15; ++slot) {
          info->SetMonthAmount(kArrays[array], slot, found->second.values[array][slot]);
        }
      }
    }
    return kOk;
  }

 private:
  static constexpr std::size_t kArrays[4] = {
      StKAMOKUSUMINFO::kDebitExcluded, StKAMOKUSUMINFO::kDebitIncluded,
      StKAMOKUSUMINFO::kCreditExcluded, StKAMOKUSUMINFO::kCreditIncluded};

  struct Sums {
    std::int64_t values[4][15] = {};
  };

  // Find month 18 (year-end adjustment) is array slot 13, find month 15 (interim) slot 14.
  static int ArraySlot(int monthIndex) {
    if (monthIndex >= 1 && monthIndex <= 12) return monthIndex;
    if (monthIndex == 18) return kAccountSumYearEndIndex;
    if (monthIndex == 15) return kAccountSumInterimIndex;
    return -1;
  }

  int LoadSums(int dataNo, const StBUMONINFO* department) {
    const AccountTotals* totals = nullptr;
    if (int code = ReadAccountTotals(dataNo, &totals)) return code;
    auto first = totals->byDepartment.begin();
    auto last = totals->byDepartment.end();
    if (department != nullptr) {
      auto byDept = [](const DepartmentMonthSum& sum, std::int32_t dept) {
        return sum.dept < dept;
      };
      first = std::lower_bound(first, last, department->code, byDept);
      last = std::find_if(
          first, last, [&](const DepartmentMonthSum& sum) { return sum.dept != department->code; });
    }
    // Every department's sides of an account are summed before the tax is added, so that
    // leaving 64 bits is seen where the sum does it.
    struct Raw {
      std::int64_t amount[2][15] = {};
      std::int64_t tax[2][15] = {};
    };
    std::map<int, Raw> raw;
    for (auto sum = first; sum != last; ++sum) {
      int slot = ArraySlot(sum->month);
      if (slot < 0) return kBadData;
      int side = sum->side == 1 ? 0 : 1;
      Raw& account = raw[sum->account];
      if (__builtin_add_overflow(account.amount[side][slot], sum->amount,
                                 &account.amount[side][slot]) ||
          __builtin_add_overflow(account.tax[side][slot], sum->tax, &account.tax[side][slot])) {
        return kBadData;
      }
    }
    for (const auto& [code, account] : raw) {
      Sums& sums = sums_[code];
      for (int side = 0; side < 2; ++side) {
        for (int slot = 0; slot < 15; ++slot) {
          std::int64_t included = 0;
          if (__builtin_add_overflow(account.amount[side][slot], account.tax[side][slot],
                                     &included)) {
            return kBadData;
          }
          sums.values[side * 2][slot] = account.amount[side][slot];
          sums.values[side * 2 + 1][slot] = included;
        }
      }
    }
    return kOk;
  }

  // The accounts in code order, read once: the count and every position then come from the
  // same rows, and moving to a position never runs the query again.
  int LoadAccounts(int dataNo) {
    Statement rows(CompanyDatabase(),
                   "SELECT code, code_text, name, class_code, normal_side, total_flag, skip126, "
                   "skip128 FROM accounts WHERE data_no = ?1 ORDER BY code");
    if (!rows.ok()) return rows.PrepareCode();
    rows.BindInt(1, dataNo);
    for (;;) {
      int status = rows.StepStatus();
      if (status == kEndOfData) return kOk;
      if (status != kOk) return status;
      StKAMOKUSUMINFO& info = accounts_.emplace_back();  // zeroed
      info.accountCode = static_cast<std::int32_t>(rows.Int(0));
      CopyTextField(info.codeText, sizeof info.codeText, rows.Bytes(1));
      CopyTextField(info.name, sizeof info.name, rows.Bytes(2));
      info.classCode = static_cast<std::int32_t>(static_cast<std::uint32_t>(rows.Int(3)));
      info.normalSide = static_cast<std::uint8_t>(rows.Int(4));
      info.totalFlag = static_cast<std::uint8_t>(rows.Int(5));
      info.skip126 = static_cast<std::uint8_t>(rows.Int(6));
      info.skip128 = static_cast<std::uint8_t>(rows.Int(7));
    }
  }

  // Adds each account's totals to every total account above it. A parent chain that loops is
  // cut where it comes back, so a damaged chart cannot hang the walk.
  int RollUpTotals(int dataNo) {
    Statement parents(CompanyDatabase(),
                      "SELECT code, parent_code FROM accounts WHERE data_no = ?1");
    if (!parents.ok()) return parents.PrepareCode();
    parents.BindInt(1, dataNo);
    std::map<int, int> parentOf;
    for (;;) {
      int status = parents.StepStatus();
      if (status == kEndOfData) break;
      if (status != kOk) return status;
      if (parents.Int(1) != 0) {
        parentOf[static_cast<int>(parents.Int(0))] = static_cast<int>(parents.Int(1));
      }
    }
    std::map<int, Sums> own = sums_;
    for (const auto& [code, sums] : own) {
      std::set<int> seen{code};
      for (auto parent = parentOf.find(code); parent != parentOf.end();
           parent = parentOf.find(parent->second)) {
        if (!seen.insert(parent->second).second) break;
        Sums& total = sums_[parent->second];
        for (int array = 0; array < 4; ++array) {
          for (int slot = 0; slot < 15; ++slot) {
            if (__builtin_add_overflow(total.values[array][slot], sums.values[array][slot],
                                       &total.values[array][slot])) {
              return kBadData;
            }
          }
        }
      }
    }
    return kOk;
  }

  std::vector<StKAMOKUSUMINFO> accounts_;  // without their sums, which Next adds
  std::size_t next_ = 0;
  std::map<int, Sums> sums_;
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
