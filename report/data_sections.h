// The DATA section: the 35 groups of the element catalogue (report/data_catalogue.h), then
// KANPUH and KANPUK. Both writers write every group and every element in catalogue order and
// differ only in the values. Non-zero on success; zero at the first failed line, with nothing
// more written (not even the open end tags). A figure that leaves the fixed-point range (the
// "ZERO" rest of S5 and S6, the securities figure times 20) raises AmountOverflow out of the
// writer: no answer to a question could make such a file right, so the run stops.
#pragma once

#include "report/report_context.h"
#include "report/report_writer.h"

// From journal aggregation (context.totals, at least five rate slots): every group filled; the
// "ZERO" figures of S5 and S6 are the rate totals less the six business types, before rounding.
int WriteDataFromTotals(ReportWriter& writer, const ReportContext& context);

// From the saved figures (context.savedFigures): S1 to S4 filled only under general taxation
// (taxation kind 2), S5 to S7 only otherwise; the securities figure is multiplied by 20 here.
int WriteDataFromSaved(ReportWriter& writer, const ReportContext& context);
