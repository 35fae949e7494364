#include "report/refund_sections.h"

#include <iterator>
#include <string>
#include <vector>

#include "accounting/StSaveTaxInfo.h"
#include "report/report_context.h"
#include "report/yen_text.h"

namespace {

constexpr const char* kKanpuh = "KANPUH";
constexpr const char* kKanpuk = "KANPUK";
constexpr const char* kTaxInclusive = "税込経理";
constexpr const char* kTaxExclusive = "税抜経理";
constexpr std::uint8_t kTaxExclusiveClass = 2;

using Figure = std::int64_t (*)(const TaxTotals&);

// A class element ("1" tax-inclusive, "2" tax-exclusive) or an amount element; `saved` is the
// amount's index in the saved refund block.
struct RefundRow {
  const char* name;
  const char* label;
  bool isClass;
  Figure figure;  // journal figure; nullptr: always empty there
  int saved;      // index of the saved amount; for a class row, the class byte's offset
  bool enabled = true;
  int mask = 0;
};

const RefundRow kKanpuhRows[] = {
    {"KESSANZEIKUBUN", "決算額の経理方式", true, nullptr,
     StSaveTaxInfo::kRefundClassCorporateSettled},
    {"SHOHINSHIIRE1", "商品仕入高等 決算額", false,
     [](const TaxTotals& t) { return t.goodsPurchases.settled; }, 0},
    {"SHOHINSHIIRE2", "商品仕入高等 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.goodsPurchases.nonTaxable; }, 1},
    {"HANBAIIPPAN1", "販売費・一般管理費 決算額", false,
     [](const TaxTotals& t) { return t.sellingAdminExpenses.settled; }, 2},
    {"HANBAIIPPAN2", "販売費・一般管理費 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.sellingAdminExpenses.nonTaxable; }, 3},
    {"EIGYOGAIHIYOU1", "営業外費用 決算額", false,
     [](const TaxTotals& t) { return t.nonOperatingExpenses.settled; }, 4},
    {"EIGYOGAIHIYOU2", "営業外費用 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.nonOperatingExpenses.nonTaxable; }, 5},
    {"SONOTASONEKI1", "その他 決算額", false,
     [](const TaxTotals& t) { return t.otherProfitLoss.settled; }, 6},
    {"SONOTASONEKI2", "その他 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.otherProfitLoss.nonTaxable; }, 7},
    {"SHISANZEIKUBUN", "資産の経理方式", true, nullptr, StSaveTaxInfo::kRefundClassCorporateAssets},
    {"KOTEISHISAN1", "固定資産 取得価額", false, [](const TaxTotals& t) { return t.fixedAssets; },
     8},
    {"KOTEISHISAN2", "固定資産 うち課税仕入れでないもの", false, nullptr, 9},
    {"KURINOBESHISAN1", "繰延資産 取得価額", false,
     [](const TaxTotals& t) { return t.deferredAssets; }, 10},
    {"KURINOBESHISAN2", "繰延資産 うち課税仕入れでないもの", false, nullptr, 11},
    {"SONOTASISAN1", "その他の資産 取得価額", false, nullptr, 12},
    {"SONOTASISAN2", "その他の資産 うち課税仕入れでないもの", false, nullptr, 13},
};
// The class elements of KANPUH each cover the amounts up to the next class element.
constexpr int kKanpuhSettledAmounts = 8;
constexpr int kKanpuhAssetAmounts = 6;

// Income-category masks of the sole-proprietor elements.
constexpr int kBusinessIncome = 2;
constexpr int kRealEstateIncome = 1;
constexpr int kOtherIncome = 3;

const RefundRow kKanpukRows[] = {
    {"KESSANZEIKUBUN", "決算額の経理方式", true, nullptr,
     StSaveTaxInfo::kRefundClassSoleProprietor},
    {"JIGYOSHIIRE1", "事業所得 仕入金額 決算額", false,
     [](const TaxTotals& t) { return t.businessPurchases.settled; }, 0, true, kBusinessIncome},
    {"JIGYOSHIIRE2", "事業所得 仕入金額 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.businessPurchases.nonTaxable; }, 1, true, kBusinessIncome},
    {"JIGYOHITSUYOU1", "事業所得 必要経費 決算額", false,
     [](const TaxTotals& t) { return t.businessExpenses.settled; }, 2, true, kBusinessIncome},
    {"JIGYOHITSUYOU2", "事業所得 必要経費 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.businessExpenses.nonTaxable; }, 3, true, kBusinessIncome},
    {"JIGYOKOTEISHISAN1", "事業所得 固定資産 決算額", false,
     [](const TaxTotals& t) { return t.businessFixedAssets.settled; }, 4, true, kBusinessIncome},
    {"JIGYOKOTEISHISAN2", "事業所得 固定資産 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.businessFixedAssets.nonTaxable; }, 5, false,
     kBusinessIncome},
    {"FUDOUSANHITSUYOU1", "不動産所得 必要経費 決算額", false,
     [](const TaxTotals& t) { return t.realEstateExpenses.settled; }, 6, true, kRealEstateIncome},
    {"FUDOUSANHITSUYOU2", "不動産所得 必要経費 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.realEstateExpenses.nonTaxable; }, 7, true,
     kRealEstateIncome},
    {"FUDOUSANKOTEISHISAN1", "不動産所得 固定資産 決算額", false,
     [](const TaxTotals& t) { return t.realEstateFixedAssets.settled; }, 8, true,
     kRealEstateIncome},
    {"FUDOUSANKOTEISHISAN2", "不動産所得 固定資産 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.realEstateFixedAssets.nonTaxable; }, 9, false,
     kRealEstateIncome},
    {"SONOTASHIIRE1", "その他の所得 仕入金額 決算額", false,
     [](const TaxTotals& t) { return t.otherIncomePurchases.settled; }, 10, true, kOtherIncome},
    {"SONOTASHIIRE2", "その他の所得 仕入金額 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.otherIncomePurchases.nonTaxable; }, 11, true, kOtherIncome},
    {"SONOTAHITSUYOU1", "その他の所得 必要経費 決算額", false,
     [](const TaxTotals& t) { return t.otherIncomeExpenses.settled; }, 12, true, kOtherIncome},
    {"SONOTAHITSUYOU2", "その他の所得 必要経費 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.otherIncomeExpenses.nonTaxable; }, 13, true, kOtherIncome},
    {"SONOTAKOTEISHISAN1", "その他の所得 固定資産 決算額", false,
     [](const TaxTotals& t) { return t.otherIncomeFixedAssets.settled; }, 14, false, kOtherIncome},
    {"SONOTAKOTEISHISAN2", "その他の所得 固定資産 うち課税仕入れでないもの", false,
     [](const TaxTotals& t) { return t.otherIncomeFixedAssets.nonTaxable; }, 15, false,
     kOtherIncome},
};

template <std::size_t N>
int WriteEmpty(ReportWriter& writer, const char* section, const RefundRow (&rows)[N]) {
  if (!writer.WriteStartTag(section, 2)) return 0;
  for (const RefundRow& row : rows) {
    if (!writer.WriteElement(row.name, "", 3)) return 0;
  }
  return writer.WriteEndTag(section, 2);
}

std::int64_t SavedAmount(const unsigned char* saved, int index) {
  return StSaveTaxInfo::Int64(saved,
                              StSaveTaxInfo::kRefundAmounts + 8 * static_cast<std::size_t>(index));
}

bool AnySaved(const unsigned char* saved, int first, int count) {
  for (int i = first; i < first + count; ++i) {
    if (SavedAmount(saved, i) != 0) return true;
  }
  return false;
}

const char* InclusiveClass(bool taxInclusive) { return taxInclusive ? "1" : "2"; }

const char* SavedClass(const unsigned char* saved, std::size_t classOffset) {
  return StSaveTaxInfo::Byte(saved, classOffset) == kTaxExclusiveClass ? "2" : "1";
}

// What a reader needs of the rows: the class elements are flags, the amounts whole yen (the
// journal KANPUK writes zero as "0").
template <std::size_t N>
std::vector<SectionElement> ReaderElements(const RefundRow (&rows)[N], ValueRule amounts) {
  std::vector<SectionElement> elements;
  for (const RefundRow& row : rows) {
    elements.push_back(row.isClass ? SectionElement{row.name, row.label, ValueRule::kFlagOrEmpty,
                                                    kTaxInclusive, kTaxExclusive}
                                   : SectionElement{row.name, row.label, amounts});
  }
  return elements;
}

}  // namespace

const SectionTable& KanpuhTable() {
  static const std::vector<SectionElement> elements = ReaderElements(kKanpuhRows, ValueRule::kYen);
  static const SectionTable table{kKanpuh, "還付申告の明細（法人）", elements};
  return table;
}

const SectionTable& KanpukTable() {
  static const std::vector<SectionElement> elements =
      ReaderElements(kKanpukRows, ValueRule::kYenOrZero);
  static const SectionTable table{kKanpuk, "還付申告の明細（個人事業者）", elements};
  return table;
}

int IncomeMask(std::uint8_t incomeKind) {
  switch (incomeKind) {
    case 1:
      return 1;
    case 2:
      return 2;
    case 3:
      return 4;
    default:
      return 0;
  }
}

int WriteKanpuhFromTotals(ReportWriter& writer, const TaxTotals& totals, const StDATAINFO& data,
                          const StSHOHIZEIINFO& settings, int roundingMode) {
  if (IsSoleProprietor(data.entityKind)) return WriteEmpty(writer, kKanpuh, kKanpuhRows);
  const bool settledAny = !totals.goodsPurchases.IsZero() ||
                          !totals.sellingAdminExpenses.IsZero() ||
                          !totals.nonOperatingExpenses.IsZero() || !totals.otherProfitLoss.IsZero();
  const bool assetsAny = totals.fixedAssets != 0 || totals.deferredAssets != 0;
  const char* inclusive = InclusiveClass(settings.taxInclusive != 0);

  if (!writer.WriteStartTag(kKanpuh, 2)) return 0;
  bool firstClass = true;
  for (const RefundRow& row : kKanpuhRows) {
    std::string value;
    if (row.isClass) {
      value = (firstClass ? settledAny : assetsAny) ? inclusive : "";
      firstClass = false;
    } else if (row.figure != nullptr) {
      value = yenText(row.figure(totals), roundingMode);
    }
    if (!writer.WriteElement(row.name, value, 3)) return 0;
  }
  return writer.WriteEndTag(kKanpuh, 2);
}

int WriteKanpukFromTotals(ReportWriter& writer, const TaxTotals& totals, const StDATAINFO& data,
                          const StSHOHIZEIINFO& settings, int roundingMode) {
  const int incomeMask = IncomeMask(data.incomeKinds);
  if (IsCorporate(data.entityKind) || settings.taxationKind != kGeneralTaxation) {
    return WriteEmpty(writer, kKanpuk, kKanpukRows);
  }
  bool any = false;
  for (const RefundRow& row : kKanpukRows) {
    if (row.figure != nullptr && row.figure(totals) != 0) any = true;
  }

  if (!writer.WriteStartTag(kKanpuk, 2)) return 0;
  for (const RefundRow& row : kKanpukRows) {
    std::string value;
    if (row.isClass) {
      if (any) value = InclusiveClass(settings.taxInclusive != 0);
    } else if (row.enabled && (row.mask & incomeMask) == 0) {
      // The one place where zero is written as "0".
      value = std::to_string(roundToYen(row.figure(totals), roundingMode));
    }
    if (!writer.WriteElement(row.name, value, 3)) return 0;
  }
  return writer.WriteEndTag(kKanpuk, 2);
}

int WriteKanpuhFromSaved(ReportWriter& writer, const unsigned char* saved, const StDATAINFO& data,
                         std::uint8_t taxationKind, int roundingMode) {
  if (saved == nullptr || IsSoleProprietor(data.entityKind) || taxationKind != kGeneralTaxation) {
    return WriteEmpty(writer, kKanpuh, kKanpuhRows);
  }
  if (!writer.WriteStartTag(kKanpuh, 2)) return 0;
  bool firstClass = true;
  for (const RefundRow& row : kKanpuhRows) {
    std::string value;
    if (row.isClass) {
      bool any = firstClass ? AnySaved(saved, 0, kKanpuhSettledAmounts)
                            : AnySaved(saved, kKanpuhSettledAmounts, kKanpuhAssetAmounts);
      if (any) value = SavedClass(saved, static_cast<std::size_t>(row.saved));
      firstClass = false;
    } else {
      value = yenText(SavedAmount(saved, row.saved), roundingMode);
    }
    if (!writer.WriteElement(row.name, value, 3)) return 0;
  }
  return writer.WriteEndTag(kKanpuh, 2);
}

int WriteKanpukFromSaved(ReportWriter& writer, const unsigned char* saved, const StDATAINFO& data,
                         std::uint8_t taxationKind, int roundingMode) {
  if (saved == nullptr || IsCorporate(data.entityKind) || taxationKind != kGeneralTaxation) {
    return WriteEmpty(writer, kKanpuk, kKanpukRows);
  }
  if (!writer.WriteStartTag(kKanpuk, 2)) return 0;
  for (const RefundRow& row : kKanpukRows) {
    std::string value;
    if (row.isClass) {
      if (AnySaved(saved, 0, StSaveTaxInfo::kRefundAmountCount)) {
        value = SavedClass(saved, static_cast<std::size_t>(row.saved));
      }
    } else {
      value = yenText(SavedAmount(saved, row.saved), roundingMode);
    }
    if (!writer.WriteElement(row.name, value, 3)) return 0;
  }
  return writer.WriteEndTag(kKanpuk, 2);
}
