#include "report/data_sections.h"

#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "aggregate/amount.h"
#include "report/data_catalogue.h"
#include "report/refund_sections.h"
#include "report/section_table.h"
#include "report/yen_text.h"

namespace {

std::int64_t JournalFigure(const TaxTotals& totals, int slot, const JournalSource& source) {
  const StTAXREPORTRATEINFO& rate = totals.rateRecords[static_cast<std::size_t>(slot)];
  switch (source.kind) {
    case JournalSource::kRateRecord:
      return rate.AmountAt(static_cast<std::size_t>(source.offset));
    case JournalSource::kBusinessType:
      return totals.BusinessTypeRecord(slot, source.businessType)
          .AmountAt(static_cast<std::size_t>(source.offset));
    case JournalSource::kUnassigned: {
      // The business types' running sum is a figure of its own: subtracting each amount in turn
      // would let a sum beyond the file's range cancel out unnoticed.
      Amount assigned;
      for (int k = 1; k <= kBusinessTypeCount; ++k) {
        assigned += Amount::FromFixed(totals.BusinessTypeRecord(slot, k).AmountAt(
            static_cast<std::size_t>(source.businessOffset)));
      }
      return (Amount::FromFixed(rate.AmountAt(static_cast<std::size_t>(source.offset))) - assigned)
          .ToFixed();
    }
    case JournalSource::kEmpty:
      break;
  }
  return 0;
}

// Writes the catalogue's groups with `value(group, element)` as each element's text.
template <typename ValueOf>
int WriteGroups(ReportWriter& writer, ValueOf value) {
  for (const CatalogueGroup& group : DataCatalogue()) {
    if (!writer.WriteStartTag(group.id, 2)) return 0;
    for (const CatalogueElement& element : group.elements) {
      if (!writer.WriteElement(element.name, value(group, element), 3)) return 0;
    }
    if (!writer.WriteEndTag(group.id, 2)) return 0;
  }
  return 1;
}

}  // namespace

int WriteDataFromTotals(ReportWriter& writer, const ReportContext& context) {
  if (!writer.WriteStartTag(kDataTag, 1)) return 0;
  const TaxTotals* totals = context.totals;
  if (totals == nullptr || totals->SlotCount() < kRateSlotCount) return 0;
  const int mode = context.roundingMode;
  int ok = WriteGroups(writer, [&](const CatalogueGroup& group, const CatalogueElement& element) {
    return element.journal.kind == JournalSource::kEmpty
               ? std::string()
               : yenText(JournalFigure(*totals, group.slot, element.journal), mode);
  });
  if (!ok) return 0;
  if (!WriteKanpuhFromTotals(writer, *totals, context.data, context.settings, mode)) return 0;
  if (!WriteKanpukFromTotals(writer, *totals, context.data, context.settings, mode)) return 0;
  return writer.WriteEndTag(kDataTag, 1);
}

int WriteDataFromSaved(ReportWriter& writer, const ReportContext& context) {
  if (!writer.WriteStartTag(kDataTag, 1)) return 0;
  const unsigned char* saved = context.savedFigures;
  if (saved == nullptr) return 0;
  const int mode = context.roundingMode;
  const bool general = context.taxationKind == kGeneralTaxation;
  int ok = WriteGroups(writer, [&](const CatalogueGroup& group, const CatalogueElement& element) {
    // Only the groups of the data's own taxation method carry figures.
    bool suppressed = IsGeneralMethodSection(group.section) != general;
    if (suppressed || !element.saved.present) return std::string();
    std::int64_t figure = StSaveTaxInfo::Int64(saved, element.saved.offset);
    if (element.saved.timesTwenty) figure = (Amount::FromFixed(figure) * 20).ToFixed();
    return yenText(figure, mode);
  });
  if (!ok) return 0;
  if (!WriteKanpuhFromSaved(writer, saved, context.data, context.taxationKind, mode)) return 0;
  if (!WriteKanpukFromSaved(writer, saved, context.data, context.taxationKind, mode)) return 0;
  return writer.WriteEndTag(kDataTag, 1);
}
