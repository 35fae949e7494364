#include "report/report_document.h"
#include "resources/strings.h"

#include "report/data_sections.h"
#include "report/header_sections.h"
#include "report/report_writer.h"
#include "report/section_table.h"
#include "winport/message_box.h"

const char* const kSystemFailedQuestion =
    "システム情報の出力に失敗しました。\n\n出力を続けますか？";
const char* const kBasicFailedQuestion = "基本情報の出力に失敗しました。\n\n出力を続けますか？";
const char* const kDataFailedQuestion = "連動情報の出力に失敗しました。\n\n出力を続けますか？";
const char* const kClosingFailedMessage =
    "連動ファイルの出力に失敗しました。\n\n出力したファイルは完全ではありません。";

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
    const char* question;
  };
  const Section sections[] = {
      {[](ReportWriter& w, const ReportContext& c, BasicVariant) {
         return WriteSystemSection(w, c);
       },
       kSystemFailedQuestion},
      {[](ReportWriter& w, const ReportContext& c, BasicVariant v) {
         return WriteBasicSection(w, c.data, v, c);
       },
       kBasicFailedQuestion},
      {[](ReportWriter& w, const ReportContext& c, BasicVariant v) {
         return v == BasicVariant::kJournal ? WriteDataFromTotals(w, c) : WriteDataFromSaved(w, c);
       },
       kDataFailedQuestion},
  };
  ReportOutcome outcome = ReportOutcome::kComplete;
  for (const Section& section : sections) {
    if (section.write(writer, context, variant)) continue;
    int answer = MessageBoxA(context.owner, section.question, kMessageCaption,
                             MB_YESNO | MB_ICONEXCLAMATION);
    if (answer != IDYES) {
      writer.WriteEndTag(kReportTag, 0);
      writer.Close();
      return ReportOutcome::kAbandoned;
    }
    // Going on does not make the file whole: the caller must still learn of the failure.
    outcome = ReportOutcome::kCompleteWithFailure;
  }
  // A file without its closing tag is not a finished file: nothing is left to go on with, but
  // the user must not take it for a whole one (after a failed section they have been told).
  if (!writer.WriteEndTag(kReportTag, 0)) {
    if (outcome == ReportOutcome::kComplete) {
      MessageBoxA(context.owner, kClosingFailedMessage, kMessageCaption,
                  MB_OK | MB_ICONEXCLAMATION);
    }
    outcome = ReportOutcome::kCompleteWithFailure;
  }
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
