#include "report/data_sections.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "aggregate/amount.h"
#include "report/data_catalogue.h"
#include "report/header_sections.h"
#include "report/report_document.h"
#include "report/yen_text.h"
#include "report_test_support.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

using reporttest::RecordingOutput;

namespace {

constexpr std::int64_t kYen = 10000;

std::string ReadFile(const std::string& linuxPath) {
  std::ifstream in(linuxPath, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// The value of element `name` in DATA child `group`, or "<missing>".
std::string ValueIn(const reporttest::ParsedReport& report, const std::string& group,
                    const std::string& name) {
  for (const auto& g : report.data) {
    if (g.name != group) continue;
    for (const auto& [element, value] : g.elements) {
      if (element == name) return value;
    }
  }
  return "<missing>";
}

// The DATA section a writer produced, parsed inside a minimal document.
reporttest::ParsedReport ParseData(const std::vector<std::string>& lines) {
  return reporttest::ParseReport("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><REPORT>" +
                                 reporttest::Joined(lines) + "</REPORT>");
}

// Checks the shape every linkage file has, whatever its figures.
void ExpectWholeReport(const reporttest::ParsedReport& report) {
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(report.sections, (std::vector<std::string>{"SYSTEM", "BASIC", "DATA"}));
  ASSERT_EQ(report.data.size(), 37u);
  EXPECT_EQ(report.dataLeafCount, 496 + 16 + 17);
  const auto& catalogue = DataCatalogue();
  for (std::size_t g = 0; g < catalogue.size(); ++g) {
    ASSERT_EQ(report.data[g].name, catalogue[g].id);
    ASSERT_EQ(report.data[g].elements.size(), catalogue[g].elements.size());
    for (std::size_t e = 0; e < catalogue[g].elements.size(); ++e) {
      EXPECT_EQ(report.data[g].elements[e].first, catalogue[g].elements[e].name);
    }
  }
  EXPECT_EQ(report.data[35].name, "KANPUH");
  EXPECT_EQ(report.data[36].name, "KANPUK");
}

// Complete files through the real file functions, in a program folder without SUPPORT.INF.
class LinkageFile : public ::testing::Test {
 protected:
  LinkageFile() {
    SetCurrentDirectoryA(testsupport::WindowsPath(folder_.path()).c_str());
    backend_.answers.clear();
  }

  std::string Write(const ReportContext& context, bool saved) {
    const std::string linuxPath = folder_.path() + "/out.xml";
    Win32FileOutput file;
    ReportOutcome outcome =
        saved ? WriteReportFromSavedFigures(file, testsupport::WindowsPath(linuxPath).c_str(),
                                            context)
              : WriteReportFromTotals(file, testsupport::WindowsPath(linuxPath).c_str(), context);
    EXPECT_EQ(outcome, ReportOutcome::kComplete);
    EXPECT_TRUE(backend_.boxes.empty());
    return ReadFile(linuxPath);
  }

  void CompareWithGolden(const std::string& bytes, const std::string& name) {
    const std::string path = std::string(QL_GOLDEN_DIR) + "/" + name;
    if (std::getenv("QL_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(path, std::ios::binary) << bytes;
      return;
    }
    std::string golden = ReadFile(path);
    ASSERT_FALSE(golden.empty()) << path;
    if (bytes == golden) return;
    std::size_t at = 0;
    while (at < bytes.size() && at < golden.size() && bytes[at] == golden[at]) ++at;
    std::size_t lineStart = golden.rfind('\n', at);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    ADD_FAILURE() << name << " differs at byte " << at << ", golden line: "
                  << golden.substr(lineStart, golden.find('\n', at) - lineStart);
  }

  testsupport::CurrentDirectoryGuard guard_;
  testsupport::TempFolder folder_;
  winport::RecordingUiBackend backend_;
  winport::ScopedUiBackend scoped_{backend_};
};

struct GoldenCase {
  std::uint8_t taxationKind;
  std::uint8_t entityKind;
  const char* name;
};
const GoldenCase kGoldenCases[] = {
    {2, 0, "general_corporate.xml"},
    {2, 3, "general_sole_proprietor.xml"},
    {1, 1, "simplified_corporate.xml"},
    {1, 4, "simplified_sole_proprietor.xml"},
};

}  // namespace

// Both methods, general and simplified taxation, corporate and sole-proprietor data.
TEST_F(LinkageFile, MatchesTheGoldenFilesByteForByte) {
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.name);
    reporttest::JournalFixture journal(c.taxationKind, c.entityKind);
    std::string bytes = Write(journal.context, false);
    ExpectWholeReport(reporttest::ParseReport(bytes));
    CompareWithGolden(bytes, std::string("journal_") + c.name);

    reporttest::SavedFixture saved(c.taxationKind, c.entityKind);
    bytes = Write(saved.context, true);
    ExpectWholeReport(reporttest::ParseReport(bytes));
    CompareWithGolden(bytes, std::string("saved_") + c.name);
  }
}

TEST(DataFromTotals, UnassignedSalesAreTakenBeforeRounding) {
  reporttest::JournalFixture fixture(2, 0);
  TaxTotals& totals = fixture.totals;
  totals.Allocate(5);
  totals.rateRecords[0].SetAmountAt(9, 10006000);  // 1000.6000 yen
  totals.businessTypeRecords[0].SetAmountAt(24, 5003000);
  totals.businessTypeRecords[1].SetAmountAt(24, 5003000);
  // Returns: no business types at all; tax: the types exceed the total.
  totals.rateRecords[0].SetAmountAt(65, 300 * kYen);
  totals.rateRecords[0].SetAmountAt(17, 100 * kYen);
  totals.businessTypeRecords[5].SetAmountAt(16, 150 * kYen);
  RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  ASSERT_EQ(WriteDataFromTotals(writer, fixture.context), 1);
  std::string all = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><REPORT><SYSTEM/><BASIC/>" +
                    reporttest::Joined(out.lines) + "</REPORT>";
  auto report = reporttest::ParseReport(all);
  ASSERT_TRUE(report.ok) << report.error;
  EXPECT_EQ(ValueIn(report, "D020114", "KAZEIURIAGEZEINUKI10"), "1001");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGE1SHUZEINUKI10"), "500");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGE2SHUZEINUKI10"), "500");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGEZEROZEINUKI10"), "");
  EXPECT_EQ(ValueIn(report, "D020224", "KAZEIHENKANZEROZEINUKI10"), "300");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGEZEROZEIGAKU10"), "-50");
  // The aggregation result is left as it was.
  EXPECT_EQ(totals.rateRecords[0].AmountAt(9), 10006000);
  EXPECT_EQ(totals.businessTypeRecords[0].AmountAt(24), 5003000);

  // Without five rate slots the section fails after its start tag.
  TaxTotals none;
  fixture.context.totals = &none;
  RecordingOutput out2;
  ReportWriter writer2;
  writer2.Open(&out2, "a.xml");
  EXPECT_EQ(WriteDataFromTotals(writer2, fixture.context), 0);
  EXPECT_EQ(out2.lines, std::vector<std::string>{"\t<DATA>\r\n"});
}

// Sales not assigned to a business type whose difference leaves the fixed-point range stop the
// section at that element with AmountOverflow (the run then ends) instead of writing a wrapped
// figure.
TEST(DataFromTotals, AnUnassignedFigureOutOfRangeStopsTheSection) {
  reporttest::JournalFixture fixture(2, 0);
  fixture.totals.rateRecords[0].SetAmountAt(9, 900000000000000000);
  fixture.totals.businessTypeRecords[0].SetAmountAt(24, -200000000000000000);
  RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  EXPECT_THROW(WriteDataFromTotals(writer, fixture.context), AmountOverflow);
  ASSERT_FALSE(out.lines.empty());
  EXPECT_EQ(out.lines.back().find("\t\t\t<KAZEIURIAGE6SHUZEIKOMI10>"), 0u);
}

TEST(DataFromSaved, SuppressionSecuritiesAndSharedOffsets) {
  reporttest::SavedFixture fixture(2, 0);
  std::fill(fixture.buffer.begin(), fixture.buffer.end(), 0);
  reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kSalesBlock[0] + 32, 1000 * kYen);
  reporttest::SetSaved(fixture.buffer, 597, 77 * kYen);
  reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kSpecifiedPurchaseTaxable[2], 8 * kYen);
  reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kBusinessSalesBlock[0], 1 * kYen);
  auto run = [&]() {
    RecordingOutput out;
    ReportWriter writer;
    writer.Open(&out, "a.xml");
    EXPECT_EQ(WriteDataFromSaved(writer, fixture.context), 1);
    auto report = ParseData(out.lines);
    EXPECT_TRUE(report.ok) << report.error;
    return report;
  };
  auto report = run();
  EXPECT_EQ(ValueIn(report, "D020114", "HIKAZEIURIAGEYUUKAZEINUKI10"), "20000");
  EXPECT_EQ(ValueIn(report, "D020111", "MENZEIURIAGEZEINUKI5"), "77");
  EXPECT_EQ(ValueIn(report, "D020211", "MENZEIURIAGEZEINUKI5"), "");
  EXPECT_EQ(ValueIn(report, "D020120", "TOKUTEISHIIREKAZEIZEINUKI8"), "8");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGE1SHUZEINUKI10"), "");

  fixture.context.taxationKind = 1;
  report = run();
  EXPECT_EQ(ValueIn(report, "D020114", "HIKAZEIURIAGEYUUKAZEINUKI10"), "");
  EXPECT_EQ(ValueIn(report, "D020111", "MENZEIURIAGEZEINUKI5"), "");
  EXPECT_EQ(ValueIn(report, "D020211", "MENZEIURIAGEZEINUKI5"), "77");
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGE1SHUZEINUKI10"), "1");
  // Never derived from the saved figures, even when the types do not add up to the total.
  EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGEZEROZEINUKI10"), "");
}

// The data's rounding mode reaches every amount of both writers, the refund sections included.
// Entity kind 2 under general taxation fills KANPUH and KANPUK alike.
TEST(DataSections, ApplyTheRunsRoundingModeEverywhere) {
  struct Case {
    int mode;
    // Journal: 1009.4445 yen, 100124.2500 yen, 902000.6000 yen, 910000.6000 yen.
    const char* sales;
    const char* businessType;
    const char* kanpuh;
    const char* kanpuk;
    // Saved figures: 126110.4444 yen and 98680.4444 yen.
    const char* savedSales;
    const char* savedRefund;
  };
  const Case cases[] = {
      {0, "1010", "100124", "902001", "910001", "126110", "98680"},
      {1, "1009", "100124", "902000", "910000", "126110", "98680"},
      {2, "1010", "100125", "902001", "910001", "126111", "98681"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    reporttest::JournalFixture journal(2, 2);
    journal.context.roundingMode = static_cast<std::uint8_t>(c.mode);
    RecordingOutput out;
    ReportWriter writer;
    writer.Open(&out, "a.xml");
    ASSERT_EQ(WriteDataFromTotals(writer, journal.context), 1);
    auto report = ParseData(out.lines);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(ValueIn(report, "D020114", "KAZEIURIAGEZEINUKI10"), c.sales);
    EXPECT_EQ(ValueIn(report, "D020214", "KAZEIURIAGE1SHUZEINUKI10"), c.businessType);
    EXPECT_EQ(ValueIn(report, "KANPUH", "SHOHINSHIIRE2"), c.kanpuh);
    EXPECT_EQ(ValueIn(report, "KANPUK", "JIGYOSHIIRE2"), c.kanpuk);

    reporttest::SavedFixture saved(2, 2);
    saved.context.roundingMode = static_cast<std::uint8_t>(c.mode);
    RecordingOutput savedOut;
    ReportWriter savedWriter;
    savedWriter.Open(&savedOut, "a.xml");
    ASSERT_EQ(WriteDataFromSaved(savedWriter, saved.context), 1);
    report = ParseData(savedOut.lines);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(ValueIn(report, "D020114", "KAZEIURIAGEZEINUKI10"), c.savedSales);
    EXPECT_EQ(ValueIn(report, "KANPUH", "SHOHINSHIIRE1"), c.savedRefund);
    EXPECT_EQ(ValueIn(report, "KANPUK", "JIGYOSHIIRE1"), c.savedRefund);
  }
}
