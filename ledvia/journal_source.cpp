#include "ledvia/journal_source.h"

#include "ledvia/company_database.h"
#include "ledvia/status_codes.h"

namespace ledvia {

std::string SideRows() {
  if (CompanyDatabaseHasSummaries()) return "journal_account_totals";
  return "(SELECT data_no, debit_dept AS dept, debit_account AS account, 1 AS side, month_index, "
         "debit_category <> 0 AS taxed, rate, reduced, debit_amount AS amount, debit_tax AS tax "
         "FROM journal UNION ALL SELECT data_no, credit_dept, credit_account, 2, month_index, "
         "credit_category <> 0, rate, reduced, credit_amount, credit_tax FROM journal)";
}

int EntryRowsFor(const StFINDINFO* find, int firstParam, EntryRows* out) {
  if (CompanyDatabaseHasSummaries() &&
      TranslateFind(find, FindTarget::kJournalGroups, firstParam, &out->condition) == kOk) {
    out->table = "journal_groups";
    out->count = "COALESCE(SUM(entries), 0)";
    return kOk;
  }
  out->table = "journal";
  out->count = "COUNT(*)";
  return TranslateFind(find, FindTarget::kJournal, firstParam, &out->condition);
}

}  // namespace ledvia
