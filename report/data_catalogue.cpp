#include "report/data_catalogue.h"

#include <array>
#include <initializer_list>
#include <optional>

#include "accounting/StSaveTaxInfo.h"
#include "aggregate/tax_totals.h"

const char* AmountToken(AmountKind kind) {
  switch (kind) {
    case AmountKind::kExcluded:
      return "ZEINUKI";
    case AmountKind::kTax:
      return "ZEIGAKU";
    case AmountKind::kIncluded:
      return "ZEIKOMI";
  }
  return "";
}

const char* AmountLabel(AmountKind kind) {
  switch (kind) {
    case AmountKind::kExcluded:
      return "税抜";
    case AmountKind::kTax:
      return "税額";
    case AmountKind::kIncluded:
      return "税込";
  }
  return "";
}

const char* DataSectionLabel(DataSection section) {
  switch (section) {
    case DataSection::kGeneralSales:
      return "原則課税 売上";
    case DataSection::kGeneralPurchases:
      return "原則課税 仕入";
    case DataSection::kGeneralBadDebts:
      return "原則課税 貸倒れ";
    case DataSection::kAdjustments:
      return "原則課税 調整";
    case DataSection::kSimplifiedSales:
      return "簡易課税 事業区分別の売上";
    case DataSection::kSimplifiedReturns:
      return "簡易課税 事業区分別の売上の返還";
    case DataSection::kSimplifiedBadDebts:
      return "簡易課税 貸倒れ";
  }
  return "";
}

bool IsGeneralMethodSection(DataSection section) {
  return section == DataSection::kGeneralSales || section == DataSection::kGeneralPurchases ||
         section == DataSection::kGeneralBadDebts || section == DataSection::kAdjustments;
}

namespace {

using PerRate = StSaveTaxInfo::PerRate;

// Rate slots that carry a family, one bit per slot.
constexpr unsigned kAllRates = 0x1F;
constexpr unsigned kSpecifiedRates = 0x05;  // 10 % and 8 %
constexpr unsigned kImportRates = 0x07;     // 10 %, reduced 8 % and 8 %

enum class Tokens { kTriple, kExcluded, kTax, kNone };

constexpr int kNoOffset = -1;

// One family of a section: the element names prefix + [business token] + amount token + rate
// suffix, with each amount token's figure in the rate record (journal) and in the saved block.
struct FamilyRow {
  const char* prefix;
  const char* label;  // code page 932; the element label adds business type and amount
  Tokens tokens;
  unsigned rates;
  std::array<int, 3> journal;  // rate-record offsets, kNoOffset for an always-empty element
  const PerRate* savedBase;    // nullptr: no saved figure
  std::array<int, 3> savedInner;
  bool timesTwenty = false;
  // Families split by business type (S5, S6): the journal offsets above are business-type
  // record offsets, `unassigned` the rate-record offsets the "ZERO" figures are derived from,
  // and types 1-5 sit 24 bytes apart from savedBase, type 6 at savedType6.
  bool byBusinessType = false;
  std::array<int, 3> unassigned{};
  const PerRate* savedType6 = nullptr;
  FigureRole role = FigureRole::kOther;
};

FamilyRow WithRole(FigureRole role, FamilyRow row) {
  row.role = role;
  return row;
}

constexpr std::array<int, 3> kNone3{kNoOffset, kNoOffset, kNoOffset};

// Families that appear in two sections are defined once.
const FamilyRow kExemptSales{"MENZEIURIAGE",
                             "免税売上",
                             Tokens::kExcluded,
                             kAllRates,
                             {41},
                             &StSaveTaxInfo::kSalesBlock,
                             {24}};
const FamilyRow kExemptReturns{"MENZEIURIAGEHENKAN",
                               "免税売上の返還",
                               Tokens::kExcluded,
                               kAllRates,
                               {97},
                               &StSaveTaxInfo::kSalesBlock,
                               {72}};
const FamilyRow kBadDebts{"KASHIDAORE", "貸倒れ",        Tokens::kTriple,
                          kAllRates,    {401, 409, 417}, &StSaveTaxInfo::kBadDebtBlock,
                          {0, 8, 16}};
const FamilyRow kBadDebtsCollected{"KASHIDAOREKAISHU", "貸倒回収",
                                   Tokens::kTriple,    kAllRates,
                                   {425, 433, 441},    &StSaveTaxInfo::kBadDebtBlock,
                                   {24, 32, 40}};

FamilyRow Specified(const char* prefix, const char* label, const PerRate& saved) {
  return {prefix, label, Tokens::kExcluded, kSpecifiedRates, kNone3, &saved, {0}};
}
FamilyRow Adjustment(const char* prefix, const char* label, const PerRate& saved) {
  return {prefix, label, Tokens::kNone, kAllRates, kNone3, &saved, {0}};
}
FamilyRow ByBusinessType(const char* prefix, const char* label, std::array<int, 3> businessOffsets,
                         std::array<int, 3> unassigned, const PerRate& saved,
                         const PerRate& savedType6) {
  FamilyRow row{prefix, label, Tokens::kTriple, kAllRates, businessOffsets, &saved, {0, 8, 16}};
  row.byBusinessType = true;
  row.unassigned = unassigned;
  row.savedType6 = &savedType6;
  return row;
}

struct SectionRows {
  DataSection section;
  const char* idPrefix;  // group id = prefix + section digit + rate digit
  char digit;            // 0 for the adjustments, whose ids have no section digit
  std::vector<FamilyRow> rows;
};

const std::vector<SectionRows>& Sections() {
  using S = StSaveTaxInfo;
  static const std::vector<SectionRows> sections = {
      {DataSection::kGeneralSales,
       "D0201",
       '1',
       {
           WithRole(FigureRole::kTaxableSales, {"KAZEIURIAGE",
                                                "課税売上",
                                                Tokens::kTriple,
                                                kAllRates,
                                                {9, 17, 25},
                                                &S::kSalesBlock,
                                                {0, 8, 16}}),
           kExemptSales,
           {"HIKAZEIURIAGEYUUKA",
            "非課税売上（有価証券）",
            Tokens::kExcluded,
            kAllRates,
            {33},
            &S::kSalesBlock,
            {32},
            true},
           {"HIKAZEIURIAGEYUUKAIGAI",
            "非課税売上（有価証券以外）",
            Tokens::kExcluded,
            kAllRates,
            {49},
            &S::kSalesBlock,
            {40}},
           {"HIKAZEISHISANYUSHUTSU",
            "非課税資産の輸出",
            Tokens::kExcluded,
            kAllRates,
            {57},
            &S::kSalesBlock,
            {88}},
           {"KAZEIURIAGEHENKAN",
            "課税売上の返還",
            Tokens::kTriple,
            kAllRates,
            {65, 73, 81},
            &S::kSalesBlock,
            {48, 56, 64}},
           kExemptReturns,
           {"HIKAZEIURIAGEHENKAN",
            "非課税売上の返還",
            Tokens::kExcluded,
            kAllRates,
            {89},
            &S::kSalesBlock,
            {80}},
           {"HIKAZEISHISANHENKAN",
            "非課税資産の輸出の返還",
            Tokens::kExcluded,
            kAllRates,
            kNone3,
            nullptr,
            {}},
       }},
      {DataSection::kGeneralPurchases,
       "D0201",
       '2',
       {
           WithRole(FigureRole::kTaxablePurchases, {"SHIIREKAZEI",
                                                    "課税仕入（課税売上対応）",
                                                    Tokens::kTriple,
                                                    kAllRates,
                                                    {105, 113, 121},
                                                    &S::kPurchasesBlock,
                                                    {0, 8, 16}}),
           WithRole(FigureRole::kTaxablePurchases, {"SHIIREHIKAZEI",
                                                    "課税仕入（非課税売上対応）",
                                                    Tokens::kTriple,
                                                    kAllRates,
                                                    {129, 137, 145},
                                                    &S::kPurchasesBlock,
                                                    {24, 32, 40}}),
           WithRole(FigureRole::kTaxablePurchases, {"SHIIREKYOTUU",
                                                    "課税仕入（共通対応）",
                                                    Tokens::kTriple,
                                                    kAllRates,
                                                    {153, 161, 169},
                                                    &S::kPurchasesBlock,
                                                    {48, 56, 64}}),
           Specified("TOKUTEISHIIREKAZEI", "特定課税仕入（課税売上対応）",
                     S::kSpecifiedPurchaseTaxable),
           Specified("TOKUTEISHIIREHIKAZEI", "特定課税仕入（非課税売上対応）",
                     S::kSpecifiedPurchaseNonTaxable),
           Specified("TOKUTEISHIIREKYOTUU", "特定課税仕入（共通対応）",
                     S::kSpecifiedPurchaseCommon),
           {"YUNYUSHIIREKAZEI",
            "輸入仕入（課税売上対応）",
            Tokens::kTax,
            kImportRates,
            {185},
            &S::kPurchasesBlock,
            {80}},
           {"YUNYUSHIIREHIKAZEI",
            "輸入仕入（非課税売上対応）",
            Tokens::kTax,
            kImportRates,
            {209},
            &S::kPurchasesBlock,
            {104}},
           {"YUNYUSHIIREKYOTUU",
            "輸入仕入（共通対応）",
            Tokens::kTax,
            kImportRates,
            {233},
            &S::kPurchasesBlock,
            {128}},
           {"YUNYUSHIIRETIHO",
            "輸入仕入の地方消費税",
            Tokens::kNone,
            kImportRates,
            {477},
            &S::kImportLocalTax,
            {0}},
           {"SHIIREHENKANKAZEI",
            "仕入返還（課税売上対応）",
            Tokens::kTriple,
            kAllRates,
            {257, 265, 273},
            &S::kPurchasesBlock,
            {152, 160, 168}},
           {"SHIIREHENKANHIKAZEI",
            "仕入返還（非課税売上対応）",
            Tokens::kTriple,
            kAllRates,
            {281, 289, 297},
            &S::kPurchasesBlock,
            {176, 184, 192}},
           {"SHIIREHENKANKYOTUU",
            "仕入返還（共通対応）",
            Tokens::kTriple,
            kAllRates,
            {305, 313, 321},
            &S::kPurchasesBlock,
            {200, 208, 216}},
           Specified("TOKUTEISHIIREHENKANKAZEI", "特定課税仕入の返還（課税売上対応）",
                     S::kSpecifiedReturnTaxable),
           Specified("TOKUTEISHIIREHENKANHIKAZEI", "特定課税仕入の返還（非課税売上対応）",
                     S::kSpecifiedReturnNonTaxable),
           Specified("TOKUTEISHIIREHENKANKYOTUU", "特定課税仕入の返還（共通対応）",
                     S::kSpecifiedReturnCommon),
           {"YUNYUHENKANKAZEI",
            "輸入仕入の返還（課税売上対応）",
            Tokens::kTax,
            kImportRates,
            {337},
            &S::kPurchasesBlock,
            {232}},
           {"YUNYUHENKANHIKAZEI",
            "輸入仕入の返還（非課税売上対応）",
            Tokens::kTax,
            kImportRates,
            {361},
            &S::kPurchasesBlock,
            {256}},
           {"YUNYUHENKANKYOTUU",
            "輸入仕入の返還（共通対応）",
            Tokens::kTax,
            kImportRates,
            {385},
            &S::kPurchasesBlock,
            {280}},
           {"YUNYUHENKANTIHO",
            "輸入仕入の返還の地方消費税",
            Tokens::kNone,
            kImportRates,
            {485},
            &S::kImportReturnLocalTax,
            {0}},
       }},
      {DataSection::kGeneralBadDebts, "D0201", '3', {kBadDebts, kBadDebtsCollected}},
      {DataSection::kAdjustments,
       "D0220",
       0,
       {
           Adjustment("GIMUMENJOKAZEI", "納税義務の免除の変更による調整（課税売上対応）",
                      S::kExemptionChangeTaxable),
           Adjustment("GIMUMENJOHIKAZEI", "納税義務の免除の変更による調整（非課税売上対応）",
                      S::kExemptionChangeNonTaxable),
           Adjustment("GIMUMENJOKYOTUU", "納税義務の免除の変更による調整（共通対応）",
                      S::kExemptionChangeCommon),
           Adjustment("KAZEIURIAGEWARIAIHENDO", "課税売上割合の著しい変動による調整",
                      S::kTaxableRatioChange),
           Adjustment("KAZEIGYOMUYOTENYO", "課税業務用からの転用による調整",
                      S::kTaxableUseConversion),
       }},
      {DataSection::kSimplifiedSales,
       "D0202",
       '1',
       {
           WithRole(FigureRole::kTaxableSales,
                    ByBusinessType("KAZEIURIAGE", "課税売上", {24, 16, 8}, {9, 17, 25},
                                   S::kBusinessSalesBlock, S::kBusinessSalesType6)),
           kExemptSales,
       }},
      {DataSection::kSimplifiedReturns,
       "D0202",
       '2',
       {
           ByBusinessType("KAZEIHENKAN", "課税売上の返還", {48, 40, 32}, {65, 73, 81},
                          S::kBusinessReturnsBlock, S::kBusinessReturnsType6),
           kExemptReturns,
       }},
      {DataSection::kSimplifiedBadDebts, "D0202", '3', {kBadDebts, kBadDebtsCollected}},
  };
  return sections;
}

// The group-id digit of each rate slot: 10 % "4", 8K "3", 8 % "0", 5 % "1", 3 % "2".
constexpr char kRateDigits[kRateSlotCount] = {'4', '3', '0', '1', '2'};

std::vector<AmountKind> AmountKinds(Tokens tokens) {
  switch (tokens) {
    case Tokens::kTriple:
      return {AmountKind::kExcluded, AmountKind::kTax, AmountKind::kIncluded};
    case Tokens::kExcluded:
      return {AmountKind::kExcluded};
    case Tokens::kTax:
      return {AmountKind::kTax};
    case Tokens::kNone:
      break;
  }
  return {};
}

SavedSource Saved(const PerRate* base, int slot, int inner, bool timesTwenty) {
  if (base == nullptr || (*base)[slot] == 0 || inner == kNoOffset) return {};
  return {true, (*base)[slot] + static_cast<std::size_t>(inner), timesTwenty};
}

std::string Label(const FamilyRow& row, const std::string& business,
                  std::optional<AmountKind> kind) {
  std::string label = row.label;
  if (!business.empty()) label += " " + business;
  if (kind) label += std::string(" ") + AmountLabel(*kind);
  return label;
}

// The elements of one family at one rate, in write order.
void AppendFamily(const FamilyRow& row, int slot, std::vector<CatalogueElement>& out) {
  if ((row.rates & (1u << slot)) == 0) return;
  const std::string suffix = TaxRateTable()[static_cast<std::size_t>(slot)].suffix;
  std::vector<AmountKind> kinds = AmountKinds(row.tokens);
  auto add = [&](const std::string& token, const std::string& business,
                 std::optional<AmountKind> kind, JournalSource journal, SavedSource saved) {
    std::string name = row.prefix + token + (kind ? AmountToken(*kind) : "") + suffix;
    out.push_back({name, journal, saved, Label(row, business, kind), kind, row.role});
  };
  if (!row.byBusinessType) {
    if (kinds.empty()) {
      add("", "", std::nullopt,
          {row.journal[0] == kNoOffset ? JournalSource::kEmpty : JournalSource::kRateRecord,
           row.journal[0]},
          Saved(row.savedBase, slot, row.savedInner[0], row.timesTwenty));
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      JournalSource journal;
      if (row.journal[i] != kNoOffset) journal = {JournalSource::kRateRecord, row.journal[i]};
      add("", "", kinds[i], journal,
          Saved(row.savedBase, slot, row.savedInner[i], row.timesTwenty));
    }
    return;
  }
  for (int k = 1; k <= kBusinessTypeCount; ++k) {
    const std::string business = std::string("第") + std::to_string(k) + "種";
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      JournalSource journal{JournalSource::kBusinessType, row.journal[i], 0, k};
      SavedSource saved = k < kBusinessTypeCount
                              ? Saved(row.savedBase, slot, 24 * (k - 1) + row.savedInner[i], false)
                              : Saved(row.savedType6, slot, row.savedInner[i], false);
      add(std::to_string(k) + "SHU", business, kinds[i], journal, saved);
    }
  }
  // Sales assigned to no business type: derived in the journal writer, never saved.
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    JournalSource journal{JournalSource::kUnassigned, row.unassigned[i], row.journal[i], 0};
    add("ZERO", "事業区分なし", kinds[i], journal, {});
  }
}

std::vector<CatalogueGroup> BuildCatalogue() {
  std::vector<CatalogueGroup> groups;
  for (const SectionRows& section : Sections()) {
    for (int slot = 0; slot < kRateSlotCount; ++slot) {
      CatalogueGroup group;
      group.id = section.idPrefix;
      if (section.digit != 0) group.id += section.digit;
      group.id += kRateDigits[slot];
      group.section = section.section;
      group.slot = slot;
      for (const FamilyRow& row : section.rows) AppendFamily(row, slot, group.elements);
      groups.push_back(std::move(group));
    }
  }
  return groups;
}

}  // namespace

const std::vector<CatalogueGroup>& DataCatalogue() {
  static const std::vector<CatalogueGroup> catalogue = BuildCatalogue();
  return catalogue;
}
