// What the report writers need from the run, handed over explicitly so that the writers do not
// depend on the application object. The run fills it once before the file is written.
#pragma once

#include <cstdint>
#include <string>

#include "accounting/StDATAINFO.h"
#include "accounting/StSHOHIZEIINFO.h"
#include "aggregate/tax_totals.h"
#include "winport/win32_types.h"

struct ReportContext {
  // SYSTEM: the caller's function identifier (1 without a handshake), the edition's program
  // name text ("Ledvia２０ Arvelle", ...) and string resource 1 ("20.00.00").
  std::int16_t functionId = 1;
  std::string programName;
  std::string connectedProgramVersion;

  // The selected data and its consumption-tax settings (the run's step 17 read).
  StDATAINFO data{};
  StSHOHIZEIINFO settings{};
  // The application's copies of settings bytes 0, 4 and 2.
  std::uint8_t taxationKind = 0;  // 0 exempt, 1 simplified, 2 general
  std::uint8_t mainBusinessType = 0;
  std::uint8_t roundingMode = 0;

  // Journal aggregation result; nullptr when there is none (the tax settings set is missing).
  const TaxTotals* totals = nullptr;
  // The 24,576-byte saved-figures buffer (StSaveTaxInfo), or nullptr.
  const unsigned char* savedFigures = nullptr;

  // Owner of the writers' message boxes.
  HWND owner = nullptr;
};
