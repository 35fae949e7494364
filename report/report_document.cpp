#include "report/report_document.h"

#include "report/data_sections.h"
#include "report/header_sections.h"
#include "report/report_writer.h"
#include "report/section_table.h"

namespace {

ReportOutcome WriteDocument(ReportOutput& file, const char* path, const ReportContext& context,
                            BasicVariant variant) {
  ReportWriter writer;
  writer.Open(&file, path);
  // Neither result is looked at: an output that failed shows up as a failed SYSTEM section.
  writer.WriteRaw(kXmlDeclaration);
  writer.WriteStartTag(kReportTag, 0);

  struct Section {
    int (*write)(ReportWriter&, const ReportContext&, BasicVariant);
    ReportSection name;
  };
  const Section sections[] = {
      {[](ReportWriter& w, const ReportContext& c, BasicVariant) {
         return WriteSystemSection(w, c);
       },
       ReportSection::kSystem},
      {[](ReportWriter& w, const ReportContext& c, BasicVariant v) {
         return WriteBasicSection(w, c.data, v, c);
       },
       ReportSection::kBasic},
      {[](ReportWriter& w, const ReportContext& c, BasicVariant v) {
         return v == BasicVariant::kJournal ? WriteDataFromTotals(w, c) : WriteDataFromSaved(w, c);
       },
       ReportSection::kData},
  };
  ReportOutcome outcome = ReportOutcome::kComplete;
  for (const Section& section : sections) {
    if (section.write(writer, context, variant)) continue;
    if (!context.goOnAfterFailure || !context.goOnAfterFailure(section.name)) {
      writer.WriteEndTag(kReportTag, 0);
      writer.Close();
      return ReportOutcome::kAbandoned;
    }
    // Going on does not make the file whole: the caller must still learn of the failure.
    outcome = ReportOutcome::kCompleteWithFailure;
  }
  // A file without its closing tag, or not yet on the disk, is not a finished file, even with
  // nothing left to go on to.
  bool finished = writer.WriteEndTag(kReportTag, 0) && writer.Flush();
  if (!finished && outcome == ReportOutcome::kComplete) outcome = ReportOutcome::kUnfinished;
  writer.Close();
  return outcome;
}

}  // namespace

ReportOutcome WriteReportFromTotals(ReportOutput& file, const char* path,
                                    const ReportContext& context) {
  return WriteDocument(file, path, context, BasicVariant::kJournal);
}

ReportOutcome WriteReportFromSavedFigures(ReportOutput& file, const char* path,
                                          const ReportContext& context) {
  return WriteDocument(file, path, context, BasicVariant::kSavedFigures);
}
