// The whole linkage file: declaration, REPORT, SYSTEM, BASIC, DATA, end of REPORT. After a
// section fails the user is asked, in a box owned by context.owner, whether to go on: No ends
// the document at once (REPORT is closed, so the file keeps what was written plus that end
// tag); Yes goes on with the next section. When only the closing tag fails the user is told
// the file is incomplete. The output is closed in every case, also when a
// figure raises AmountOverflow out of the writers (the file then keeps what was written).
#pragma once

#include "report/report_context.h"
#include "report/report_output.h"

enum class ReportOutcome {
  kComplete,             // every section written
  kCompleteWithFailure,  // finished after the user chose to go on past a failed section, or
                         // the closing REPORT tag could not be written
  kAbandoned,            // the user answered No: the run reports failure (result 2)
};

// The journal-aggregation file: BASIC journal variant, DATA from context.totals.
ReportOutcome WriteReportFromTotals(ReportOutput& file, const char* path,
                                    const ReportContext& context);
// The saved-figures file: BASIC saved-figures variant, DATA from context.savedFigures.
ReportOutcome WriteReportFromSavedFigures(ReportOutput& file, const char* path,
                                          const ReportContext& context);

// The questions asked after a failed SYSTEM, BASIC or DATA section.
extern const char* const kSystemFailedQuestion;
extern const char* const kBasicFailedQuestion;
extern const char* const kDataFailedQuestion;
// The notice after the closing REPORT tag could not be written (exclamation, OK).
extern const char* const kClosingFailedMessage;
