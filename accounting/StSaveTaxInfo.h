// The consumption-tax return figures the user saved in the accounting product's return
// screen, as ClSaveTaxShiryo::GetTaxSaveInfo fills them into a 24,576-byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include "accounting/packed_field.h"

constexpr std::size_t kSavedFiguresBufferSize = 24576;

// Readers of the byte-packed record by offset; the record is not aligned, so every read
// copies (memcpy) rather than casting.
struct StSaveTaxInfo {
  static constexpr std::size_t kTaxationMethod = 3;       // byte: 1 general, 2 simplified
  static constexpr std::size_t kDeductionMethod = 4;      // byte: deduction method + 1
  static constexpr std::size_t kSalesTaxCalc = 6;         // byte
  static constexpr std::size_t kPurchaseTaxCalc = 7;      // byte
  static constexpr std::size_t kTransitionalAssets = 8;   // byte
  static constexpr std::size_t kPeriodStart = 9;          // int32 YYYYMMDD, 0 when nothing saved
  static constexpr std::size_t kPeriodEnd = 13;           // int32
  static constexpr std::size_t kBusinessYearStart = 17;   // int32
  static constexpr std::size_t kBusinessYearEnd = 21;     // int32
  static constexpr std::size_t kTaxablePeriodStart = 29;  // int32
  static constexpr std::size_t kTaxablePeriodEnd = 33;    // int32
  static constexpr std::size_t kInterimClosing = 39;      // byte: interim closing + 1

  // Amount blocks of the return figures, by rate slot (10 %, reduced 8 %, 8 %, 5 %, 3 %); 0
  // where the rate has no such figure. Amounts are signed 64-bit ten-thousandths of a yen.
  using PerRate = std::size_t[5];
  // Sales: taxable triple 0/8/16, exempt 24, securities 32, other non-taxable 40, returns
  // triple 48/56/64, exempt returns 72, non-taxable returns 80, non-taxable asset exports 88.
  static constexpr PerRate kSalesBlock = {12611, 14340, 12515, 573, 669};
  // Purchases: triples for taxable-only 0, non-taxable-only 24, common 48; import tax 80, 104,
  // 128; return triples 152, 176, 200; import-return tax 232, 256, 280.
  static constexpr PerRate kPurchasesBlock = {13003, 14436, 12707, 765, 1061};
  // Bad debts: triple 0/8/16, collected after write-off 24/32/40.
  static constexpr PerRate kBadDebtBlock = {13347, 14772, 13299, 1357, 1405};
  // Simplified-method sales and sales returns by business type: the triple of type k (1-5) at
  // block + 24 (k - 1), the triple of type 6 at its own base.
  static constexpr PerRate kBusinessSalesBlock = {13515, 14820, 13395, 1453, 1573};
  static constexpr PerRate kBusinessSalesType6 = {14091, 14940, 14067, 14043, 14019};
  static constexpr PerRate kBusinessReturnsBlock = {13755, 14964, 13635, 1693, 1813};
  static constexpr PerRate kBusinessReturnsType6 = {14187, 15084, 14163, 14139, 14115};
  // Single figures.
  static constexpr PerRate kSpecifiedPurchaseTaxable = {14291, 0, 14243, 0, 0};
  static constexpr PerRate kSpecifiedPurchaseNonTaxable = {14299, 0, 14251, 0, 0};
  static constexpr PerRate kSpecifiedPurchaseCommon = {14307, 0, 14259, 0, 0};
  static constexpr PerRate kSpecifiedReturnTaxable = {14315, 0, 14267, 0, 0};
  static constexpr PerRate kSpecifiedReturnNonTaxable = {14323, 0, 14275, 0, 0};
  static constexpr PerRate kSpecifiedReturnCommon = {14331, 0, 14283, 0, 0};
  static constexpr PerRate kImportLocalTax = {14003, 14732, 13987, 0, 0};
  static constexpr PerRate kImportReturnLocalTax = {14011, 14740, 13995, 0, 0};
  static constexpr PerRate kExemptionChangeTaxable = {12491, 14748, 12467, 485, 509};
  static constexpr PerRate kTaxableRatioChange = {12499, 14756, 12475, 493, 517};
  static constexpr PerRate kTaxableUseConversion = {12507, 14764, 12483, 501, 525};
  static constexpr PerRate kExemptionChangeNonTaxable = {13971, 15156, 13955, 2068, 2084};
  static constexpr PerRate kExemptionChangeCommon = {13979, 15164, 13963, 2076, 2092};

  // Refund statement: sixteen amounts 8 bytes apart from kRefundAmounts, shared by the
  // corporate and the sole-proprietor statement, and their class bytes (2 = tax-exclusive).
  static constexpr std::size_t kRefundClassSoleProprietor = 9865;
  static constexpr std::size_t kRefundClassCorporateSettled = 9866;
  static constexpr std::size_t kRefundClassCorporateAssets = 9867;
  static constexpr std::size_t kRefundAmounts = 9868;
  static constexpr int kRefundAmountCount = 16;

  static std::uint8_t Byte(const unsigned char* record, std::size_t offset) {
    return record[offset];
  }
  static std::int32_t Int32(const unsigned char* record, std::size_t offset) {
    return ReadPacked<std::int32_t>(record, offset);
  }
  static std::int64_t Int64(const unsigned char* record, std::size_t offset) {
    return ReadPacked<std::int64_t>(record, offset);
  }
};
