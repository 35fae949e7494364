// What the export run gives the conditions dialog, and what it gets back.
#pragma once

#include <cstdint>
#include <string>

class CWnd;

// Filing category of the data.
enum TaxationKind : std::int16_t {
  kTaxExempt = 0,   // "免税"
  kSimplified = 1,  // "簡易課税"
  kGeneral = 2,     // "原則課税"
};

// Aggregation method.
constexpr std::int32_t kMethodJournal = 0;  // sum the journal entries of the month range
constexpr std::int32_t kMethodSaved = 1;    // the figures saved in the tax-return screen

// Filled by the run from the open company data; the dialog never changes it. The five texts
// each begin with one blank, as the run formats them.
struct ConditionsSetup {
  CWnd* parentWindow = nullptr;  // the caller's window, or none
  std::int16_t taxationKind = kTaxExempt;
  std::string companyName;
  std::string periodText;    // " %04d/%02d/%02d～%04d/%02d/%02d"
  std::string taxationText;  // "免税", "簡易課税" or "原則課税"
  std::string deductionLabel;  // "主となる事業分類", "課税仕入控除" or empty (exempt data)
  std::string deductionValue;       // main business type or deduction method; empty for exempt
  std::string userId;               // the accounting product's current user (up to 64 bytes)
  std::int32_t selectionFirst = 0;  // the two numbers that identify the selected data
  std::int32_t selectionSecond = 0;
  std::int32_t periodStart = 0;  // YYYYMMDD
  std::int32_t periodEnd = 0;
  std::int16_t savedStartMonth = 0;  // months of the saved tax-return figures
  std::int16_t savedEndMonth = 0;
  bool pastResults = false;  // data kind 99
  bool savedFiguresAvailable = false;
  std::string fixedOutputPath;  // the output file named by the caller; empty when none
};

// Read by the run after the dialog returned Execute.
struct ExportConditions {
  std::int32_t method = kMethodJournal;
  int startMonth = 0;  // 1..12
  int endMonth = 0;
  std::string outputPath;
};
