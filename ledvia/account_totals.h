// The journal's sides summed by account, read once per session and company data. The
// account-sum rule asks for every department in turn and the tax-sum rule for every rate and
// window; both take their figures from one reading of the journal summaries (the journal's
// sides themselves where the file keeps none), instead of one pass per question.
#pragma once

#include <cstdint>
#include <vector>

namespace ledvia {

// The sides of one department, account, side (1 debit, 2 credit) and month index.
struct DepartmentMonthSum {
  std::int32_t dept = 0;
  std::int32_t account = 0;
  std::int32_t side = 0;
  std::int32_t month = 0;
  std::int64_t amount = 0;  // tax-excluded
  std::int64_t tax = 0;
};

// The taxed sides of one rate, reduced flag, month index, account and side, every department
// together.
struct TaxedSideSum {
  std::int32_t rate = 0;
  std::int32_t reduced = 0;
  std::int32_t month = 0;
  std::int32_t account = 0;
  bool debit = false;
  std::int64_t amount = 0;
  std::int64_t tax = 0;
};

struct AccountTotals {
  std::vector<DepartmentMonthSum> byDepartment;  // in department, account, side, month order
  std::vector<TaxedSideSum> taxed;               // in the order the groups first occur
};

// The totals of company data `dataNo` in the open database, read at the first call after it
// was opened and kept until it is closed. 0 with `*out` set, or a failure code (a sum that
// leaves 64 bits is bad data); nothing is kept after a failure.
int ReadAccountTotals(int dataNo, const AccountTotals** out);
// Frees what ReadAccountTotals kept; the database's close calls it.
void ForgetAccountTotals();

}  // namespace ledvia
