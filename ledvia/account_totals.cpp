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

// Version 4 keeps both sums as they are wanted, one row per key, in the order wanted.
int ReadSplitTotals(int dataNo, AccountTotals* out) {
  Statement departments(CompanyDatabase(),
                        "SELECT dept, account, side, month_index, amount, tax FROM "
                        "journal_department_totals WHERE data_no = ?1 ORDER BY dept, account, "
                        "side, month_index");
  if (!departments.ok()) return departments.PrepareCode();
  departments.BindInt(1, dataNo);
  int status = kOk;
  while ((status = departments.StepStatus()) == kOk) {
    DepartmentMonthSum& sum = out->byDepartment.emplace_back();
    sum.dept = static_cast<std::int32_t>(departments.Int(0));
    sum.account = static_cast<std::int32_t>(departments.Int(1));
    sum.side = static_cast<std::int32_t>(departments.Int(2));
    sum.month = static_cast<std::int32_t>(departments.Int(3));
    // A total that left 64 bits is a real number here, refused rather than rounded.
    if (!departments.ExactInt(4, &sum.amount) || !departments.ExactInt(5, &sum.tax)) {
      return kBadData;
    }
  }
  if (status != kEndOfData) return status;

  Statement taxed(CompanyDatabase(),
                  "SELECT rate, reduced, month_index, account, side, amount, tax FROM "
                  "journal_taxed_totals WHERE data_no = ?1");
  if (!taxed.ok()) return taxed.PrepareCode();
  taxed.BindInt(1, dataNo);
  while ((status = taxed.StepStatus()) == kOk) {
    TaxedSideSum& sum = out->taxed.emplace_back();
    sum.rate = static_cast<std::int32_t>(taxed.Int(0));
    sum.reduced = taxed.Int(1) != 0 ? 1 : 0;
    sum.month = static_cast<std::int32_t>(taxed.Int(2));
    sum.account = static_cast<std::int32_t>(taxed.Int(3));
    sum.debit = taxed.Int(4) == 1;
    if (!taxed.ExactInt(5, &sum.amount) || !taxed.ExactInt(6, &sum.tax)) return kBadData;
  }
  return status == kEndOfData ? kOk : status;
}

// Versions 1 to 3: the account totals (or the journal's sides, grouped to their key first)
// hold both sums at a finer grain, summed here. Either way the rows come sorted, so that a
// department's sums are summed as they come, without a lookup.
int ReadAccountTotalRows(int dataNo, AccountTotals* out) {
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
    int code = CompanyDatabaseHasDepartmentTotals() ? ReadSplitTotals(dataNo, &kept->totals)
                                                    : ReadAccountTotalRows(dataNo, &kept->totals);
    if (code != kOk) return code;
    g_kept = std::move(kept);
  }
  *out = &g_kept->totals;
  return kOk;
}

void ForgetAccountTotals() { g_kept.reset(); }

}  // namespace ledvia
