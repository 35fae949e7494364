// The SYSTEM and BASIC sections of the linkage file: what kind of file it is and which
// programs wrote it, and the company's basic tax facts. Each writes its start tag at depth 1,
// its elements at depth 2 and its end tag at depth 1; the first line that fails ends the
// section with 0 (its end tag is then not written). 1 when every line was written.
#pragma once

#include "report/report_context.h"
#include "report/report_writer.h"
#include "report/section_table.h"

// The elements of SYSTEM and BASIC, in the order the writers below write them.
const SectionTable& SystemTable();
const SectionTable& BasicTable();

// PROGRAMNAME and PROGRAMVER come from "SUPPORT.INF" in the current directory, with the
// edition's program name and "20.00.0X" when the file does not name them.
int WriteSystemSection(ReportWriter& writer, const ReportContext& context);

enum class BasicVariant { kJournal = 0, kSavedFigures = 1 };

// The journal variant reads the data record, the taxation kind and the aggregation result;
// the saved-figures variant reads the period and three flags from the saved figures and fails
// before its first such element when there are none.
int WriteBasicSection(ReportWriter& writer, const StDATAINFO& data, BasicVariant variant,
                      const ReportContext& context);

// HOUJINKOJINKUBUN: "1" corporate (entity kinds 0, 1), "2" sole proprietor (3, 4), else "".
const char* EntityClassText(std::uint8_t entityKind);
