// A write fails at every line in turn: the writer returns failure at that line and nothing
// after it reaches the file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/data_sections.h"
#include "report/header_sections.h"
#include "report/report_document.h"
#include "report_test_support.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"

using reporttest::RecordingOutput;

namespace {

using Section = std::function<int(ReportWriter&)>;

std::vector<std::string> Run(const Section& section, int failAt, int* result) {
  RecordingOutput out(failAt);
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  *result = section(writer);
  return out.lines;
}

void FailEveryLine(const Section& section) {
  int result = 0;
  const std::vector<std::string> all = Run(section, -1, &result);
  ASSERT_EQ(result, 1);
  ASSERT_GT(all.size(), 2u);
  for (std::size_t n = 0; n < all.size(); ++n) {
    std::vector<std::string> lines = Run(section, static_cast<int>(n), &result);
    ASSERT_EQ(result, 0) << "failure at line " << n;
    ASSERT_EQ(lines, std::vector<std::string>(all.begin(), all.begin() + n)) << "line " << n;
  }
}

class FailingLines : public ::testing::Test {
 protected:
  // SYSTEM reads SUPPORT.INF from the current directory: keep it empty.
  FailingLines() { SetCurrentDirectoryA(testsupport::WindowsPath(folder_.path()).c_str()); }
  testsupport::CurrentDirectoryGuard guard_;
  testsupport::TempFolder folder_;
};

}  // namespace

TEST_F(FailingLines, EverySectionStopsAtTheFailedLine) {
  for (auto [taxation, entity] : {std::pair{2, 0}, std::pair{2, 3}}) {
    SCOPED_TRACE(testing::Message() << "taxation " << taxation << " entity " << entity);
    reporttest::JournalFixture journal(taxation, entity);
    reporttest::SavedFixture saved(taxation, entity);
    FailEveryLine([&](ReportWriter& w) { return WriteSystemSection(w, journal.context); });
    FailEveryLine([&](ReportWriter& w) {
      return WriteBasicSection(w, journal.context.data, BasicVariant::kJournal, journal.context);
    });
    FailEveryLine([&](ReportWriter& w) {
      return WriteBasicSection(w, saved.context.data, BasicVariant::kSavedFigures, saved.context);
    });
    FailEveryLine([&](ReportWriter& w) { return WriteDataFromTotals(w, journal.context); });
    FailEveryLine([&](ReportWriter& w) { return WriteDataFromSaved(w, saved.context); });
  }
}

// The sections the document asked about, answering every question with `goOn`.
struct Questions {
  explicit Questions(ReportContext& context, bool goOn) {
    context.goOnAfterFailure = [this, goOn](ReportSection section) {
      asked.push_back(section);
      return goOn;
    };
  }
  std::vector<ReportSection> asked;
};

// The document: going on past every failure finishes it but reports the failure; stopping ends
// it with the closing REPORT tag, which cannot reach a closed file either.
TEST_F(FailingLines, DocumentReportsEveryFailure) {
  reporttest::SavedFixture fixture(2, 0);
  RecordingOutput whole;
  ASSERT_EQ(WriteReportFromSavedFigures(whole, "a.xml", fixture.context), ReportOutcome::kComplete);
  const std::vector<std::string>& all = whole.lines;
  // One attempt past the lines: only the flush to the disk fails.
  for (std::size_t n = 0; n <= all.size(); ++n) {
    for (bool goOn : {true, false}) {
      Questions questions(fixture.context, goOn);
      RecordingOutput out(static_cast<int>(n));
      ReportOutcome outcome = WriteReportFromSavedFigures(out, "a.xml", fixture.context);
      ASSERT_EQ(out.lines, std::vector<std::string>(all.begin(), all.begin() + n)) << n;
      if (n + 1 >= all.size()) {
        // Only the closing tag or the flush was lost: nothing is left to ask, but the file is
        // not finished.
        EXPECT_TRUE(questions.asked.empty());
        EXPECT_EQ(outcome, ReportOutcome::kUnfinished);
        continue;
      }
      ASSERT_FALSE(questions.asked.empty()) << n;
      EXPECT_EQ(outcome, goOn ? ReportOutcome::kCompleteWithFailure : ReportOutcome::kAbandoned);
      if (!goOn) {
        EXPECT_EQ(questions.asked.size(), 1u);
      }
    }
  }
}

TEST_F(FailingLines, AFileThatDidNotOpenFailsEverySection) {
  reporttest::JournalFixture fixture(2, 0);
  Questions questions(fixture.context, true);
  RecordingOutput out(0);
  EXPECT_EQ(WriteReportFromTotals(out, "a.xml", fixture.context),
            ReportOutcome::kCompleteWithFailure);
  EXPECT_EQ(questions.asked,
            (std::vector<ReportSection>{ReportSection::kSystem, ReportSection::kBasic,
                                        ReportSection::kData}));
  EXPECT_TRUE(out.lines.empty());
}
