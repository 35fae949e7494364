// The DATA section's element catalogue: the 35 groups (seven sections of five rate groups) in
// the order they are written, each with its element names in order and where each element's
// figure comes from for the two DATA writers (journal aggregation and saved figures). Both
// writers and their tests walk this one table; no element name is spelled anywhere else.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Amount tokens of element names.
enum class AmountKind { kExcluded, kTax, kIncluded };  // "ZEINUKI", "ZEIGAKU", "ZEIKOMI"
const char* AmountToken(AmountKind kind);
// The same in words a person reads (code page 932): "税抜", "税額", "税込".
const char* AmountLabel(AmountKind kind);

// The seven sections: S1 to S4 feed the general-method return, S5 to S7 the simplified one.
enum class DataSection {
  kGeneralSales,
  kGeneralPurchases,
  kGeneralBadDebts,
  kAdjustments,
  kSimplifiedSales,
  kSimplifiedReturns,
  kSimplifiedBadDebts,
};
constexpr int kDataSectionCount = 7;
bool IsGeneralMethodSection(DataSection section);
// The section's title for a person (code page 932), such as "原則課税 売上".
const char* DataSectionLabel(DataSection section);

// What a reader summarising the file takes an element for: taxable sales (S1, and S5 by
// business type), taxable purchases (the three attributions of S2), or anything else.
enum class FigureRole { kOther, kTaxableSales, kTaxablePurchases };

// Where the journal-aggregation writer takes an element's figure.
struct JournalSource {
  enum Kind {
    kEmpty,         // always written empty
    kRateRecord,    // amount at `offset` of the group's rate record
    kBusinessType,  // amount at `offset` of the business-type record `businessType` (1..6)
    kUnassigned,    // rate-record amount at `offset` minus the six business-type amounts at
                    // `businessOffset`, taken before rounding
  };
  Kind kind = kEmpty;
  int offset = 0;
  int businessOffset = 0;
  int businessType = 0;
};

// Where the saved-figures writer takes an element's figure.
struct SavedSource {
  bool present = false;      // false: always written empty
  std::size_t offset = 0;    // in the StSaveTaxInfo record
  bool timesTwenty = false;  // multiplied by 20 before conversion (securities)
};

struct CatalogueElement {
  std::string name;
  JournalSource journal;
  SavedSource saved;
  std::string label;  // code page 932, without the rate: "課税売上 第1種 税抜"
  std::optional<AmountKind> amount;  // none for the names without an amount token
  FigureRole role = FigureRole::kOther;
};

struct CatalogueGroup {
  std::string id;  // "D020114", "D02204", ...
  DataSection section;
  int slot;  // rate slot 0..4 (10, 8K, 8, 5, 3)
  std::vector<CatalogueElement> elements;
};

// The 35 groups in write order: sections S1 to S7, within each the rates 10, 8K, 8, 5, 3.
const std::vector<CatalogueGroup>& DataCatalogue();
