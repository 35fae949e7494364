// KANPUH (corporate) and KANPUK (sole proprietor): the statement accompanying a refund claim,
// the last two sections inside DATA. Each always writes its full element list (start tag at
// depth 2, elements at depth 3, end tag at depth 2); whether the elements carry figures
// depends on the entity kind and, mostly, the taxation kind. 1 written; 0 at the first failed
// line, with the section left open.
#pragma once

#include <cstdint>

#include "accounting/StDATAINFO.h"
#include "accounting/StSHOHIZEIINFO.h"
#include "aggregate/tax_totals.h"
#include "report/report_writer.h"
#include "report/section_table.h"

// The elements of KANPUH and KANPUK, in the order the writers below write them.
const SectionTable& KanpuhTable();
const SectionTable& KanpukTable();

// From journal aggregation. KANPUH carries figures for every entity kind but 3 and 4, whatever
// the taxation kind; KANPUK only for entity kinds other than 0 and 1 under general taxation,
// limited by the data's income kinds, and writes zero as "0".
int WriteKanpuhFromTotals(ReportWriter& writer, const TaxTotals& totals, const StDATAINFO& data,
                          const StSHOHIZEIINFO& settings, int roundingMode);
int WriteKanpukFromTotals(ReportWriter& writer, const TaxTotals& totals, const StDATAINFO& data,
                          const StSHOHIZEIINFO& settings, int roundingMode);

// From the saved figures (StSaveTaxInfo): only under general taxation (taxation kind 2), KANPUH
// for corporate data, KANPUK for sole-proprietor data; both read the same sixteen amounts.
int WriteKanpuhFromSaved(ReportWriter& writer, const unsigned char* saved, const StDATAINFO& data,
                         std::uint8_t taxationKind, int roundingMode);
int WriteKanpukFromSaved(ReportWriter& writer, const unsigned char* saved, const StDATAINFO& data,
                         std::uint8_t taxationKind, int roundingMode);

// The income-category mask of the journal KANPUK: income kind 1 gives 1, 2 gives 2, 3 gives 4,
// anything else 0. An element is filled only when its own mask shares no bit with it.
int IncomeMask(std::uint8_t incomeKind);
