#include "report/data_catalogue.h"

#include <array>
#include <initializer_list>

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
};

constexpr std::array<int, 3> kNone3{kNoOffset, kNoOffset, kNoOffset};

// Families that appear in two sections are defined once.
const FamilyRow kExemptSales{"MENZEIURIAGE", Tokens::kExcluded,           kAllRates,
                             {41},           &StSaveTaxInfo::kSalesBlock, {24}};
const FamilyRow kExemptReturns{
    "MENZEIURIAGEHENKAN", Tokens::kExcluded, kAllRates, {97}, &StSaveTaxInfo::kSalesBlock, {72}};
const FamilyRow kBadDebts{
    "KASHIDAORE", Tokens::kTriple, kAllRates, {401, 409, 417}, &StSaveTaxInfo::kBadDebtBlock,
    {0, 8, 16}};
const FamilyRow kBadDebtsCollected{
    "KASHIDAOREKAISHU", Tokens::kTriple, kAllRates, {425, 433, 441}, &StSaveTaxInfo::kBadDebtBlock,
    {24, 32, 40}};

FamilyRow Specified(const char* prefix, const PerRate& saved) {
  return {prefix, Tokens::kExcluded, kSpecifiedRates, kNone3, &saved, {0}};
}
FamilyRow Adjustment(const char* prefix, const PerRate& saved) {
  return {prefix, Tokens::kNone, kAllRates, kNone3, &saved, {0}};
}
FamilyRow ByBusinessType(const char* prefix, std::array<int, 3> businessOffsets,
                         std::array<int, 3> unassigned, const PerRate& saved,
                         const PerRate& savedType6) {
  FamilyRow row{prefix, Tokens::kTriple, kAllRates, businessOffsets, &saved, {0, 8, 16}};
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
           {"KAZEIURIAGE", Tokens::kTriple, kAllRates, {9, 17, 25}, &S::kSalesBlock, {0, 8, 16}},
           kExemptSales,
           {"HIKAZEIURIAGEYUUKA", Tokens::kExcluded, kAllRates, {33}, &S::kSalesBlock, {32}, true},
           {"HIKAZEIURIAGEYUUKAIGAI", Tokens::kExcluded, kAllRates, {49}, &S::kSalesBlock, {40}},
           {"HIKAZEISHISANYUSHUTSU", Tokens::kExcluded, kAllRates, {57}, &S::kSalesBlock, {88}},
           {"KAZEIURIAGEHENKAN",
            Tokens::kTriple,
            kAllRates,
            {65, 73, 81},
            &S::kSalesBlock,
            {48, 56, 64}},
           kExemptReturns,
           {"HIKAZEIURIAGEHENKAN", Tokens::kExcluded, kAllRates, {89}, &S::kSalesBlock, {80}},
           {"HIKAZEISHISANHENKAN", Tokens::kExcluded, kAllRates, kNone3, nullptr, {}},
       }},
      {DataSection::kGeneralPurchases,
       "D0201",
       '2',
       {
           {"SHIIREKAZEI",
            Tokens::kTriple,
            kAllRates,
            {105, 113, 121},
            &S::kPurchasesBlock,
            {0, 8, 16}},
           {"SHIIREHIKAZEI",
            Tokens::kTriple,
            kAllRates,
            {129, 137, 145},
            &S::kPurchasesBlock,
            {24, 32, 40}},
           {"SHIIREKYOTUU",
            Tokens::kTriple,
            kAllRates,
            {153, 161, 169},
            &S::kPurchasesBlock,
            {48, 56, 64}},
           Specified("TOKUTEISHIIREKAZEI", S::kSpecifiedPurchaseTaxable),
           Specified("TOKUTEISHIIREHIKAZEI", S::kSpecifiedPurchaseNonTaxable),
           Specified("TOKUTEISHIIREKYOTUU", S::kSpecifiedPurchaseCommon),
           {"YUNYUSHIIREKAZEI", Tokens::kTax, kImportRates, {185}, &S::kPurchasesBlock, {80}},
           {"YUNYUSHIIREHIKAZEI", Tokens::kTax, kImportRates, {209}, &S::kPurchasesBlock, {104}},
           {"YUNYUSHIIREKYOTUU", Tokens::kTax, kImportRates, {233}, &S::kPurchasesBlock, {128}},
           {"YUNYUSHIIRETIHO", Tokens::kNone, kImportRates, {477}, &S::kImportLocalTax, {0}},
           {"SHIIREHENKANKAZEI",
            Tokens::kTriple,
            kAllRates,
            {257, 265, 273},
            &S::kPurchasesBlock,
            {152, 160, 168}},
           {"SHIIREHENKANHIKAZEI",
            Tokens::kTriple,
            kAllRates,
            {281, 289, 297},
            &S::kPurchasesBlock,
            {176, 184, 192}},
           {"SHIIREHENKANKYOTUU",
            Tokens::kTriple,
            kAllRates,
            {305, 313, 321},
            &S::kPurchasesBlock,
            {200, 208, 216}},
           Specified("TOKUTEISHIIREHENKANKAZEI", S::kSpecifiedReturnTaxable),
           Specified("TOKUTEISHIIREHENKANHIKAZEI", S::kSpecifiedReturnNonTaxable),
           Specified("TOKUTEISHIIREHENKANKYOTUU", S::kSpecifiedReturnCommon),
           {"YUNYUHENKANKAZEI", Tokens::kTax, kImportRates, {337}, &S::kPurchasesBlock, {232}},
           {"YUNYUHENKANHIKAZEI", Tokens::kTax, kImportRates, {361}, &S::kPurchasesBlock, {256}},
           {"YUNYUHENKANKYOTUU", Tokens::kTax, kImportRates, {385}, &S::kPurchasesBlock, {280}},
           {"YUNYUHENKANTIHO", Tokens::kNone, kImportRates, {485}, &S::kImportReturnLocalTax, {0}},
       }},
      {DataSection::kGeneralBadDebts, "D0201", '3', {kBadDebts, kBadDebtsCollected}},
      {DataSection::kAdjustments,
       "D0220",
       0,
       {
           Adjustment("GIMUMENJOKAZEI", S::kExemptionChangeTaxable),
           Adjustment("GIMUMENJOHIKAZEI", S::kExemptionChangeNonTaxable),
           Adjustment("GIMUMENJOKYOTUU", S::kExemptionChangeCommon),
           Adjustment("KAZEIURIAGEWARIAIHENDO", S::kTaxableRatioChange),
           Adjustment("KAZEIGYOMUYOTENYO", S::kTaxableUseConversion),
       }},
      {DataSection::kSimplifiedSales,
       "D0202",
       '1',
       {
           ByBusinessType("KAZEIURIAGE", {24, 16, 8}, {9, 17, 25}, S::kBusinessSalesBlock,
                          S::kBusinessSalesType6),
           kExemptSales,
       }},
      {DataSection::kSimplifiedReturns,
       "D0202",
       '2',
       {
           ByBusinessType("KAZEIHENKAN", {48, 40, 32}, {65, 73, 81}, S::kBusinessReturnsBlock,
                          S::kBusinessReturnsType6),
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

// The elements of one family at one rate, in write order.
void AppendFamily(const FamilyRow& row, int slot, std::vector<CatalogueElement>& out) {
  if ((row.rates & (1u << slot)) == 0) return;
  const std::string suffix = TaxRateTable()[static_cast<std::size_t>(slot)].suffix;
  std::vector<AmountKind> kinds = AmountKinds(row.tokens);
  if (!row.byBusinessType) {
    if (kinds.empty()) {
      out.push_back(
          {row.prefix + suffix,
           {row.journal[0] == kNoOffset ? JournalSource::kEmpty : JournalSource::kRateRecord,
            row.journal[0]},
           Saved(row.savedBase, slot, row.savedInner[0], row.timesTwenty)});
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      JournalSource journal;
      if (row.journal[i] != kNoOffset) journal = {JournalSource::kRateRecord, row.journal[i]};
      out.push_back({row.prefix + std::string(AmountToken(kinds[i])) + suffix, journal,
                     Saved(row.savedBase, slot, row.savedInner[i], row.timesTwenty)});
    }
    return;
  }
  for (int k = 1; k <= kBusinessTypeCount; ++k) {
    const std::string token = std::to_string(k) + "SHU";
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      JournalSource journal{JournalSource::kBusinessType, row.journal[i], 0, k};
      SavedSource saved = k < kBusinessTypeCount
                              ? Saved(row.savedBase, slot, 24 * (k - 1) + row.savedInner[i], false)
                              : Saved(row.savedType6, slot, row.savedInner[i], false);
      out.push_back({row.prefix + token + AmountToken(kinds[i]) + suffix, journal, saved});
    }
  }
  // Sales assigned to no business type: derived in the journal writer, never saved.
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    JournalSource journal{JournalSource::kUnassigned, row.unassigned[i], row.journal[i], 0};
    out.push_back({row.prefix + std::string("ZERO") + AmountToken(kinds[i]) + suffix, journal, {}});
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
