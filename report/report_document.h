// The whole linkage file: declaration, REPORT, SYSTEM, BASIC, DATA, end of REPORT. After a
// section fails, context.goOnAfterFailure decides: false ends the document at once (REPORT is
// closed, so the file keeps what was written plus that end tag); true goes on with the next
// section. The output is closed in every case, also when a figure raises AmountOverflow out of
// the writers (the file then keeps what was written).
#pragma once

#include "report/report_context.h"
#include "report/report_output.h"

enum class ReportOutcome {
  kComplete,             // every section written
  kCompleteWithFailure,  // finished after going on past a failed section
  kUnfinished,           // every section written, but the closing REPORT tag was lost or the
                         // file could not be put on the disk
  kAbandoned,            // the file ended at a failed section
};

// The journal-aggregation file: BASIC journal variant, DATA from context.totals.
ReportOutcome WriteReportFromTotals(ReportOutput& file, const char* path,
                                    const ReportContext& context);
// The saved-figures file: BASIC saved-figures variant, DATA from context.savedFigures.
ReportOutcome WriteReportFromSavedFigures(ReportOutput& file, const char* path,
                                          const ReportContext& context);
