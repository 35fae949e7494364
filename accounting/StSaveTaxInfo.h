// The consumption-tax return figures the user saved in the accounting product's return
// screen, as ClSaveTaxShiryo::GetTaxSaveInfo fills them into a 24,576-byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::size_t kSavedFiguresBufferSize = 24576;

// Readers of the byte-packed record by offset; the record is not aligned, so every read
// copies (memcpy) rather than casting.
struct StSaveTaxInfo {
  static constexpr std::size_t kTaxationMethod = 3;     // byte: 1 general, 2 simplified
  static constexpr std::size_t kDeductionMethod = 4;    // byte: deduction method + 1
  static constexpr std::size_t kSalesTaxCalc = 6;       // byte
  static constexpr std::size_t kPurchaseTaxCalc = 7;    // byte
  static constexpr std::size_t kTransitionalAssets = 8; // byte
  static constexpr std::size_t kPeriodStart = 9;        // int32 YYYYMMDD, 0 when nothing saved
  static constexpr std::size_t kPeriodEnd = 13;         // int32
  static constexpr std::size_t kBusinessYearStart = 17; // int32
  static constexpr std::size_t kBusinessYearEnd = 21;   // int32
  static constexpr std::size_t kTaxablePeriodStart = 29;  // int32
  static constexpr std::size_t kTaxablePeriodEnd = 33;    // int32
  static constexpr std::size_t kInterimClosing = 39;      // byte: interim closing + 1

  static std::uint8_t Byte(const unsigned char* record, std::size_t offset) {
    return record[offset];
  }
  static std::int32_t Int32(const unsigned char* record, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
  }
  static std::int64_t Int64(const unsigned char* record, std::size_t offset) {
    std::int64_t value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
  }
};
