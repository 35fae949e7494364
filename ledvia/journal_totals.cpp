#include "ledvia/journal_totals.h"

#include "ledvia/company_writer.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

void JournalTotals::Sum::Add(std::int64_t value) {
  if (!real && !__builtin_add_overflow(exact, value, &exact)) return;
  if (!real) approximate = static_cast<double>(exact);
  real = true;
  approximate += static_cast<double>(value);
}

void JournalTotals::Add(int dataNo, int monthIndex, const EntrySpec& e) {
  Totals& group = groups_[{dataNo, monthIndex, e.debitCategory, e.creditCategory, e.rate, e.reduced,
                           e.businessType}];
  ++group.count;
  group.sums[0].Add(e.debitAmount);
  group.sums[1].Add(e.debitTax);
  group.sums[2].Add(e.creditAmount);
  group.sums[3].Add(e.creditTax);
  const struct {
    int side, account, dept, category;
    std::int64_t amount, tax;
  } sides[] = {
      {1, e.debitAccount, e.debitDept, e.debitCategory, e.debitAmount, e.debitTax},
      {2, e.creditAccount, e.creditDept, e.creditCategory, e.creditAmount, e.creditTax},
  };
  for (const auto& s : sides) {
    Totals& department = departments_[{dataNo, s.dept, s.account, s.side, monthIndex}];
    ++department.count;
    department.sums[0].Add(s.amount);
    department.sums[1].Add(s.tax);
    if (s.category != 0) {
      Totals& taxed = taxed_[{dataNo, e.rate, e.reduced, monthIndex, s.account, s.side}];
      ++taxed.count;
      taxed.sums[0].Add(s.amount);
      taxed.sums[1].Add(s.tax);
    }
    Totals& side = sides_[{dataNo, monthIndex, s.side, s.account, s.dept, s.category}];
    ++side.count;
    side.sums[0].Add(s.amount);
    side.sums[1].Add(s.tax);
  }
}

namespace {

template <typename Map>
int WriteTable(sqlite3* db, const char* sql, const Map& rows, int sumCount, std::string* error) {
  Statement insert(db, sql);
  if (!insert.ok()) {
    *error = sqlite3_errmsg(db);
    return insert.PrepareCode();
  }
  for (const auto& [key, totals] : rows) {
    insert.Reset();
    int at = 1;
    for (std::int64_t part : key) insert.BindInt(at++, part);
    insert.BindInt(at++, totals.count);
    for (int i = 0; i < sumCount; ++i, ++at) {
      const auto& sum = totals.sums[i];
      if (sum.real) {
        insert.BindReal(at, sum.approximate);
      } else {
        insert.BindInt(at, sum.exact);
      }
    }
    int rc = insert.Step();
    if (rc != SQLITE_DONE) {
      *error = sqlite3_errmsg(db);
      return DatabaseCode(rc);
    }
  }
  return kOk;
}

}  // namespace

int JournalTotals::Write(sqlite3* db, std::string* error) const {
  if (int code = WriteTable(db,
                            "INSERT INTO journal_groups VALUES "
                            "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)",
                            groups_, 4, error)) {
    return code;
  }
  if (int code = WriteTable(db,
                            "INSERT INTO journal_department_totals VALUES "
                            "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
                            departments_, 2, error)) {
    return code;
  }
  if (int code = WriteTable(db,
                            "INSERT INTO journal_taxed_totals VALUES "
                            "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                            taxed_, 2, error)) {
    return code;
  }
  return WriteTable(db,
                    "INSERT INTO journal_side_totals VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                    sides_, 2, error);
}

}  // namespace ledvia
