// Tax-return rule: SumTax. The journal sides of the find are grouped in SQL by category, side,
// rate, reduced flag and business type (from the entry groups where the database keeps them),
// so only one row per group reaches this code.
#include <cstring>
#include <vector>

#include "accounting/ClRuleShohizeiShinkoku.h"
#include "accounting/ClSetShohizei.h"
#include "accounting/packed_field.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/journal_source.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"
#include "ledvia/tax_categories.h"

namespace ledvia {
namespace {

bool AddChecked(std::int64_t* sum, std::int64_t value) {
  return !__builtin_add_overflow(*sum, value, sum);
}

template <typename Record>
bool AddAt(Record& record, int offset, std::int64_t value) {
  if (offset == 0 || value == 0) return true;
  std::int64_t sum = ReadPacked<std::int64_t>(&record, static_cast<std::size_t>(offset));
  if (!AddChecked(&sum, value)) return false;
  WritePacked(&record, static_cast<std::size_t>(offset), sum);
  return true;
}

}  // namespace
}  // namespace ledvia

int ClRuleShohizeiShinkoku::SumTax(int /*taxationKind*/, const StFINDINFO* find,
                                   StTAXREPORTRATEINFO* rateRecords,
                                   StTAXREPORTBUSINESSTYPEINFO* businessTypeRecords) {
  if (int fault = ledvia::FaultFor("ClRuleShohizeiShinkoku::SumTax")) return fault;
  if (rateRecords == nullptr || businessTypeRecords == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ClSetShohizei settings;
  int rateCount = settings.GetTaxRateCount();
  if (rateCount <= 0) return ledvia::kBadArgument;

  // Each side of the entries the find selects, summed by category, side, rate, reduced flag
  // and business type.
  ledvia::EntryRows debitRows;
  ledvia::EntryRows creditRows;
  if (int code = ledvia::EntryRowsFor(find, 2, &debitRows)) return code;
  int creditFirst = 2 + static_cast<int>(debitRows.condition.params.size());
  ledvia::EntryRowsFor(find, creditFirst, &creditRows);
  ledvia::Statement groups(
      ledvia::CompanyDatabase(),
      "SELECT category, side, rate, reduced, business_type, SUM(amount), SUM(tax) FROM ("
      "SELECT debit_category AS category, 1 AS side, rate, reduced, business_type, "
      "debit_amount AS amount, debit_tax AS tax FROM " +
          debitRows.table + " WHERE data_no = ?1 AND " + debitRows.condition.sql +
          " UNION ALL SELECT credit_category, 2, rate, reduced, business_type, credit_amount, "
          "credit_tax FROM " +
          creditRows.table + " WHERE data_no = ?1 AND " + creditRows.condition.sql +
          ") GROUP BY 1, 2, 3, 4, 5");
  if (!groups.ok()) return groups.PrepareCode();
  groups.BindInt(1, dataNo);
  groups.BindAll(2, debitRows.condition.params);
  groups.BindAll(creditFirst, creditRows.condition.params);

  // Securities are summed at full price first and reduced once, so that many small sales do
  // not each lose their remainder.
  std::vector<std::int64_t> securities(static_cast<std::size_t>(rateCount), 0);
  for (;;) {
    int status = groups.StepStatus();
    if (status == ledvia::kEndOfData) break;
    if (status != ledvia::kOk) return status;
    const ledvia::TaxCategoryTarget* target =
        ledvia::FindTaxCategory(static_cast<int>(groups.Int(0)));
    if (target == nullptr) continue;
    std::int64_t rate = groups.Int(2);
    std::int64_t reduced = groups.Int(3);
    int businessType = static_cast<int>(groups.Int(4));
    std::int64_t amount = 0;
    std::int64_t tax = 0;
    if (!groups.ExactInt(5, &amount) || !groups.ExactInt(6, &tax)) return ledvia::kBadData;
    // A side opposite to the category's own side subtracts; the smallest 64-bit sum has no
    // negation.
    if (groups.Int(1) != target->normalSide &&
        (__builtin_sub_overflow(0, amount, &amount) || __builtin_sub_overflow(0, tax, &tax))) {
      return ledvia::kBadData;
    }
    std::int64_t included = 0;
    if (__builtin_add_overflow(amount, tax, &included)) return ledvia::kBadData;
    for (int r = 0; r < rateCount; ++r) {
      StTAXREPORTRATEINFO& record = rateRecords[r];
      if (record.rate != rate || record.reduced != reduced) continue;
      bool ok = true;
      if (target->excludedOffset == ledvia::kSecuritiesOffset) {
        ok = ledvia::AddChecked(&securities[static_cast<std::size_t>(r)], amount);
      } else if (target->excludedOffset == 0 && target->includedOffset == 0) {
        ok = ledvia::AddAt(record, target->taxOffset, amount);  // import tax: amount is the tax
      } else {
        ok = ledvia::AddAt(record, target->excludedOffset, amount) &&
             ledvia::AddAt(record, target->taxOffset, tax) &&
             ledvia::AddAt(record, target->includedOffset, included);
      }
      if (ok && target->businessTypeKind != 0 && businessType >= 1 && businessType <= 6) {
        const int* offsets = target->businessTypeKind == 1 ? ledvia::kBusinessSalesOffsets
                                                           : ledvia::kBusinessReturnsOffsets;
        for (int k = 0; k < 6; ++k) {
          StTAXREPORTBUSINESSTYPEINFO& typed = businessTypeRecords[6 * r + k];
          if (typed.businessType != businessType) continue;
          ok = ok && ledvia::AddAt(typed, offsets[0], included) &&
               ledvia::AddAt(typed, offsets[1], tax) && ledvia::AddAt(typed, offsets[2], amount);
        }
      }
      if (!ok) return ledvia::kBadData;
    }
  }
  for (int r = 0; r < rateCount; ++r) {
    if (!ledvia::AddAt(rateRecords[r], ledvia::kSecuritiesOffset,
                       securities[static_cast<std::size_t>(r)] / ledvia::kSecuritiesDivisor)) {
      return ledvia::kBadData;
    }
  }
  return ledvia::kOk;
}
