// Save object: the stored figures are rows of (offset, width, value), so the store does not
// depend on how the record is laid out; this call lays them into the buffer.
#include <cstring>

#include "accounting/ClSaveTaxShiryo.h"
#include "accounting/StSaveTaxInfo.h"
#include "ledvia/company_database.h"
#include "ledvia/fault_injection.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

int ClSaveTaxShiryo::RefreshCache() {
  if (int fault = ledvia::FaultFor("ClSaveTaxShiryo::RefreshCache")) return fault;
  return ledvia::kOk;
}

int ClSaveTaxShiryo::GetTaxSaveInfo(void* buffer) {
  if (int fault = ledvia::FaultFor("ClSaveTaxShiryo::GetTaxSaveInfo")) return fault;
  if (buffer == nullptr) return ledvia::kBadArgument;
  int dataNo = 0;
  if (int code = DataNo(&dataNo)) return code;
  ledvia::Statement rows(ledvia::CompanyDatabase(),
                         "SELECT offset, width, value FROM saved_figures WHERE data_no = ?1 "
                         "ORDER BY offset");
  if (!rows.ok()) return rows.PrepareCode();
  rows.BindInt(1, dataNo);
  auto* bytes = static_cast<unsigned char*>(buffer);
  for (;;) {
    int status = rows.StepStatus();
    if (status == ledvia::kEndOfData) return ledvia::kOk;
    if (status != ledvia::kOk) return status;
    std::int64_t offset = rows.Int(0);
    std::int64_t width = rows.Int(1);
    std::int64_t value = rows.Int(2);
    // The schema checks this too; a database written by other means must not make this call
    // write outside the caller's buffer.
    if ((width != 1 && width != 2 && width != 4 && width != 8) || offset < 0 ||
        offset > static_cast<std::int64_t>(kSavedFiguresBufferSize) - width) {
      return ledvia::kBadData;
    }
    // Little-endian, as the record is on its original platform.
    for (std::int64_t i = 0; i < width; ++i) {
      bytes[offset + i] = static_cast<unsigned char>(static_cast<std::uint64_t>(value) >> (8 * i));
    }
  }
}
