#include "ledvia/account_totals.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "ledvia/company_database.h"
#include "ledvia/journal_source.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

struct Kept {
  unsigned generation = 0;
  int dataNo = 0;
  AccountTotals totals;
};

std::unique_ptr<Kept> g_kept;

bool Add(std::int64_t* sum, std::int64_t value) {
  return !__builtin_add_overflow(*sum, value, sum);
}

int Read(int dataNo, AccountTotals* out) {
  // The account totals hold one row per key already, in this order; the journal's sides are
  // grouped to the same key first. Either way the rows come sorted, so that a department's
  // sums are summed as they come, without a lookup.
  bool grouped = !CompanyDatabaseHasSummaries();
  Statement rows(
      CompanyDatabase(),
      std::string("SELECT dept, account, side, month_index, taxed, rate, reduced, ") +
          (grouped ? "SUM(amount), SUM(tax)" : "amount, tax") + " FROM " + SideRows() +
          " WHERE data_no = ?1" +
          (grouped ? " GROUP BY dept, account, side, month_index, taxed, rate, reduced" : "") +
          " ORDER BY dept, account, side, month_index");
  if (!rows.ok()) return rows.PrepareCode();
  rows.BindInt(1, dataNo);
  std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool>, std::size_t>
      taxedIndex;
  for (;;) {
    int status = rows.StepStatus();
    if (status == kEndOfData) return kOk;
    if (status != kOk) return status;
    DepartmentMonthSum side;
    side.dept = static_cast<std::int32_t>(rows.Int(0));
    side.account = static_cast<std::int32_t>(rows.Int(1));
    side.side = static_cast<std::int32_t>(rows.Int(2));
    side.month = static_cast<std::int32_t>(rows.Int(3));
    // A total that left 64 bits is a real number here, refused rather than rounded.
    if (!rows.ExactInt(7, &side.amount) || !rows.ExactInt(8, &side.tax)) return kBadData;

    std::vector<DepartmentMonthSum>& sums = out->byDepartment;
    if (!sums.empty() && sums.back().dept == side.dept && sums.back().account == side.account &&
        sums.back().side == side.side && sums.back().month == side.month) {
      if (!Add(&sums.back().amount, side.amount) || !Add(&sums.back().tax, side.tax)) {
        return kBadData;
      }
    } else {
      sums.push_back(side);
    }

    if (rows.Int(4) != 1) continue;  // not taxed
    TaxedSideSum taxed;
    taxed.rate = static_cast<std::int32_t>(rows.Int(5));
    taxed.reduced = rows.Int(6) != 0 ? 1 : 0;
    taxed.month = side.month;
    taxed.account = side.account;
    taxed.debit = side.side == 1;
    taxed.amount = side.amount;
    taxed.tax = side.tax;
    auto [at, added] = taxedIndex.try_emplace(
        std::make_tuple(taxed.rate, taxed.reduced, taxed.month, taxed.account, taxed.debit),
        out->taxed.size());
    if (added) {
      out->taxed.push_back(taxed);
    } else if (!Add(&out->taxed[at->second].amount, taxed.amount) ||
               !Add(&out->taxed[at->second].tax, taxed.tax)) {
      return kBadData;
    }
  }
}

}  // namespace

int ReadAccountTotals(int dataNo, const AccountTotals** out) {
  if (g_kept == nullptr || g_kept->generation != CompanyDatabaseGeneration() ||
      g_kept->dataNo != dataNo) {
    g_kept.reset();
    auto kept = std::make_unique<Kept>();
    kept->generation = CompanyDatabaseGeneration();
    kept->dataNo = dataNo;
    if (int code = Read(dataNo, &kept->totals)) return code;
    g_kept = std::move(kept);
  }
  *out = &g_kept->totals;
  return kOk;
}

void ForgetAccountTotals() { g_kept.reset(); }

}  // namespace ledvia
