// The application object: start-up opens the session with the accounting product and runs
// the export; the end hook closes the session and tells the caller the result.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "accounting/StSHOHIZEIINFO.h"
#include "aggregate/tax_totals.h"
#include "app/edition.h"
#include "report/report_context.h"
#include "report/report_document.h"
#include "winport/mfc.h"

class ClSetData;
class ClSetShohizei;
struct ExportConditions;
class ProgressDialog;

// Result codes posted to the caller.
constexpr std::int32_t kResultDone = 0;
constexpr std::int32_t kResultStopped = 1;  // by the user, or a refusal the user must resolve
constexpr std::int32_t kResultFailed = 2;

class ExportApp : public CWinApp {
 public:
  // The program runs as `edition` (which outlives it).
  explicit ExportApp(const Edition& edition) : edition_(edition) {}

  // Start-up and the whole export run; true only when the run ended with its completion
  // message. Nothing escapes it: an exception (an amount beyond the data model, memory) ends
  // the run with one message and result 2, so ExitInstance always closes the session and
  // notifies the caller.
  BOOL InitInstance() override;
  // Closes the session and, when started with a handshake, posts resultCode to the caller.
  int ExitInstance() override;

  std::int32_t launchedByCaller = 0;        // 1 when the command line carried a complete handshake
  HWND callerWindow = nullptr;              // the caller's window (first handshake value)
  std::uint32_t callerMessage = 0;          // message posted to the caller at the end
  std::int16_t functionId = 1;              // posted back as the first parameter; SYSTEM/FUNCTIONID
  std::string fixedOutputPath;              // output file named by the caller, fixed in the dialog
  CWnd* parentWindow = nullptr;             // framework window of callerWindow; dialog parent
  std::int32_t resultCode = kResultDone;    // posted back as the second parameter
  ClSetData* dataSet = nullptr;             // set object 5, owned by the library
  ClSetShohizei* taxSettingsSet = nullptr;  // set object 4, owned by the library
  // The journal-aggregation result with its two per-rate arrays (allocated by the run).
  TaxTotals totals;
  std::unique_ptr<unsigned char[]> savedFigures;  // 24,576-byte saved-figures buffer
  std::uint8_t taxationKind = 0;                  // 0 exempt, 1 simplified, 2 general
  std::uint8_t mainBusinessType = 0;              // 0 none, 1 to 6
  std::uint8_t roundingMode = 0;                  // copied from the tax settings at each read
  StSHOHIZEIINFO taxSettings{};                   // the data's tax settings as last read

 private:
  // Start-up steps up to the link check; false ends the program (resultCode says why).
  bool StartUp();
  // The program folder becomes the current directory; false when its path cannot be had in
  // 260 bytes or the change fails.
  bool EnterProgramFolder();
  // The export run, from the selected company data to the finished file (export_run.cpp).
  bool RunExport();
  // Reads the selected data's tax settings into taxSettings and copies their rounding mode;
  // when they cannot be read, says so in a box owned by `owner`, sets resultCode 2 and
  // returns false.
  bool ReadRunTaxSettings(const StDATAINFO& data, HWND owner);
  // Method 1 and method 0 of the run: true when the file was finished (resultCode 2 when the
  // user went on past a failed section); false when the run stops (resultCode set).
  bool WriteFromSavedFigures(const StDATAINFO& data, const ExportConditions& conditions,
                             ProgressDialog& progress);
  bool AggregateAndWrite(const StDATAINFO& data, const ExportConditions& conditions,
                         ProgressDialog& progress);
  // After the file was written: true when the run goes on to its end (resultCode 2 for a file
  // finished past a failure, after telling the user when only the closing tag was lost); false
  // when the file was abandoned (resultCode 2).
  bool FinishReport(ReportOutcome outcome, HWND owner);
  // What the report writers need: SYSTEM texts, the data, the settings as last read, the
  // totals and the saved figures, and the questions to ask in boxes owned by `owner`.
  ReportContext MakeReportContext(const StDATAINFO& data, HWND owner) const;
  void NotifyCaller();

  const Edition& edition_;
};
