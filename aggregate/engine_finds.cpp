#include "aggregate/engine_finds.h"

namespace {

void CopyMonthFind(StFINDINFO* at, const MonthFind& months) {
  for (int i = 0; i < months.Length(); ++i) at[i] = months.entries[static_cast<std::size_t>(i)];
}

void TaxCategory(StFINDINFO& entry, std::int16_t side, std::int16_t op, int category,
                 std::int16_t link) {
  SetFindCondition(entry, kFindItemTaxCategory, side, op, kFindValueInteger, category);
  entry.link = link;
}

}  // namespace

ImportCheckFind BuildImportCheckFind(const MonthFind& months) {
  ImportCheckFind find;
  StFINDINFO* e = find.entries.data();
  SetFindNested(e, 0, 2);
  e[0].link = kFindLinkAnd;
  SetFindNested(e, 1, 6);
  TaxCategory(e[2], kFindSideDebit, kFindOpGreaterEqual, 31, kFindLinkAnd);
  TaxCategory(e[3], kFindSideDebit, kFindOpLessEqual, 37, kFindLinkOr);
  TaxCategory(e[4], kFindSideCredit, kFindOpGreaterEqual, 31, kFindLinkAnd);
  TaxCategory(e[5], kFindSideCredit, kFindOpLessEqual, 37, kFindLinkNone);
  CopyMonthFind(e + 6, months);
  return find;
}

JournalFind BuildJournalFind(const MonthFind& months) {
  JournalFind find;
  StFINDINFO* e = find.entries.data();
  SetFindNested(e, 0, 2);  // the category groups
  e[0].link = kFindLinkAnd;
  SetFindNested(e, 1, 10);  // the months
  SetFindNested(e, 2, 4);   // debit side
  e[2].link = kFindLinkOr;
  SetFindNested(e, 3, 7);  // credit side
  std::size_t at = 4;
  for (std::int16_t side : {kFindSideDebit, kFindSideCredit}) {
    TaxCategory(e[at++], side, kFindOpLess, 21, kFindLinkOr);
    TaxCategory(e[at++], side, kFindOpEqual, 24, kFindLinkOr);
    TaxCategory(e[at++], side, kFindOpGreaterEqual, 30, kFindLinkNone);
  }
  CopyMonthFind(e + 10, months);
  return find;
}

NonTaxableSideFind BuildNonTaxableSideFind(const MonthFind& months) {
  NonTaxableSideFind find;
  StFINDINFO* e = find.entries.data();
  SetFindNested(e, 0, 2);  // the side's category
  e[0].link = kFindLinkAnd;
  SetFindNested(e, 1, 5);  // the months
  TaxCategory(e[2], kFindSideEither, kFindOpLess, 21, kFindLinkOr);
  TaxCategory(e[3], kFindSideEither, kFindOpEqual, 24, kFindLinkOr);
  TaxCategory(e[4], kFindSideEither, kFindOpGreaterEqual, 30, kFindLinkNone);
  CopyMonthFind(e + 5, months);
  return find;
}

AssetFind BuildAssetFind(std::int32_t startDate, std::int32_t endDate) {
  AssetFind find;
  SetFindCondition(find.entries[0], kFindItemAssetDate, 0, kFindOpGreaterEqual, kFindValueInteger,
                   startDate);
  find.entries[0].link = kFindLinkAnd;
  SetFindCondition(find.entries[1], kFindItemAssetDate, 0, kFindOpLessEqual, kFindValueInteger,
                   endDate);
  return find;
}

std::vector<StFINDINFO> BuildClassificationFind(std::span<const std::uint32_t> codes) {
  std::vector<StFINDINFO> find(codes.size());
  for (std::size_t i = 0; i < codes.size(); ++i) {
    SetFindCondition(find[i], kFindItemClassCode, 0, kFindOpEqual, kFindValueClassCode,
                     static_cast<std::int32_t>(codes[i]));
    find[i].link = i + 1 < codes.size() ? kFindLinkOr : kFindLinkNone;
  }
  return find;
}
