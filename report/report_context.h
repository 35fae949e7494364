// What the report writers need from the run, handed over explicitly so that the writers do not
// depend on the application object. The run fills it once before the file is written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "accounting/StDATAINFO.h"
#include "accounting/StSHOHIZEIINFO.h"
#include "aggregate/tax_totals.h"

// Taxation kind 2, the general method: only then do the general-method DATA groups of the
// saved figures, the purchase-tax flag of BASIC and the refund statements carry figures.
constexpr std::uint8_t kGeneralTaxation = 2;

// Entity kinds of StDATAINFO: 0 and 1 are corporate data, 3 and 4 sole-proprietor data; any
// other value is neither.
constexpr bool IsCorporate(std::uint8_t entityKind) { return entityKind == 0 || entityKind == 1; }
constexpr bool IsSoleProprietor(std::uint8_t entityKind) {
  return entityKind == 3 || entityKind == 4;
}

// The sections after whose failure the user decides whether the file goes on.
enum class ReportSection { kSystem, kBasic, kData };

struct ReportContext {
  // SYSTEM: the caller's function identifier (1 without a handshake), the edition's program
  // name text ("Ledvia２０ Arvelle", ...) and string resource 1 ("20.00.00").
  std::int16_t functionId = 1;
  std::string programName;
  std::string connectedProgramVersion;

  // The selected data and its consumption-tax settings, as the run last read them before
  // writing the file.
  StDATAINFO data{};
  StSHOHIZEIINFO settings{};
  // The application's copies of settings bytes 0 and 2, which hold for the whole file.
  std::uint8_t taxationKind = 0;  // 0 exempt, 1 simplified, 2 general
  std::uint8_t roundingMode = 0;  // 0 half up digit by digit, 1 truncate, 2 up, other truncate

  // Journal aggregation result; nullptr when there is none (the tax settings set is missing).
  const TaxTotals* totals = nullptr;
  // The 24,576-byte saved-figures buffer (StSaveTaxInfo), or nullptr.
  const unsigned char* savedFigures = nullptr;

  // The run's side of the dialogue with the user: the writers show nothing themselves.
  // Asked after `section` could not be written: true goes on with the next section; unset, the
  // file ends there.
  std::function<bool(ReportSection)> goOnAfterFailure;
  // Told when the support-information file could not be read for want of memory (its fields
  // are then empty and the file goes on).
  std::function<void()> outOfMemory;
};
