#include "report/header_sections.h"

#include <gtest/gtest.h>

#include <string>

#include "accounting/StSaveTaxInfo.h"
#include "report/full_width.h"
#include "report/superseded_rates.h"
#include "report/support_info.h"
#include "report_test_support.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"

using reporttest::RecordingOutput;

namespace {

// Runs in a fresh current directory, as the program runs in its own folder.
class InProgramFolder : public ::testing::Test {
 protected:
  InProgramFolder() { SetCurrentDirectoryA(testsupport::WindowsPath(folder_.path()).c_str()); }
  void WriteSupportFile(const std::string& bytes) { folder_.WriteFile("SUPPORT.INF", bytes); }

  testsupport::CurrentDirectoryGuard guard_;
  testsupport::TempFolder folder_;
};

std::vector<std::string> Lines(int (*write)(ReportWriter&, const ReportContext&),
                               const ReportContext& context) {
  RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  EXPECT_EQ(write(writer, context), 1);
  return out.lines;
}

std::string Basic(const ReportContext& context, BasicVariant variant, int* result = nullptr) {
  RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  int ok = WriteBasicSection(writer, context.data, variant, context);
  if (result != nullptr) *result = ok;
  return reporttest::Joined(out.lines);
}

std::string Element(const std::string& name, const std::string& value) {
  return "\t\t<" + name + ">" + value + "</" + name + ">\r\n";
}

}  // namespace

using SystemSection = InProgramFolder;

TEST_F(SystemSection, DefaultsWithoutSupportFile) {
  ReportContext context = reporttest::BaseContext(2, 0);
  const std::vector<std::string> expected = {
      "\t<SYSTEM>\r\n",
      Element("GYOUMUPREFIX", "SY31"),
      Element("VERSION", "1"),
      Element("FUNCTIONID", "1"),
      Element("CONNECTEDPROGRAMVER", "20.00.00"),
      Element("PROGRAMNAME", "Ledvia２０ Arvelle"),
      Element("PROGRAMVER", "20.00.0X"),
      "\t</SYSTEM>\r\n",
  };
  EXPECT_EQ(Lines(WriteSystemSection, context), expected);
  context.functionId = -32768;
  EXPECT_EQ(Lines(WriteSystemSection, context)[3], Element("FUNCTIONID", "-32768"));
}

TEST_F(SystemSection, NamesFromTheSupportFile) {
  ReportContext context = reporttest::BaseContext(2, 0);
  WriteSupportFile(
      "[=製品名=]Ledvia 20 & Co\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]\r\n[=お問い合わせ内容=]\r\na\r\n\x1A");
  std::vector<std::string> lines = Lines(WriteSystemSection, context);
  EXPECT_EQ(lines[5], Element("PROGRAMNAME", "Ledvia 20 &amp; Co"));
  EXPECT_EQ(lines[6], Element("PROGRAMVER", "20.00.0X"));  // marker with nothing after it
}

using SupportFile = InProgramFolder;

TEST_F(SupportFile, FieldsLinesAndLimits) {
  struct Case {
    std::string file;
    std::string name;
    std::string version;
  };
  const std::string filler(SupportInfo::kBlockSize - 10, 'x');
  const Case cases[] = {
      {"[=製品ﾊﾞｰｼﾞｮﾝ=]20.01.00\r\n[=製品名=]Ledvia\r\n", "Ledvia", "20.01.00"},
      // The last line without CR LF ends where the file does; 0x1A ends the text.
      {"[=製品名=]Ledvia", "Ledvia", ""},
      {"[=製品名=]Led\x1Avia\r\n", "Led", ""},
      // A double-byte value whose second byte is 0x5C stays whole.
      {"[=製品名=]\x83\x5C\x83\x74\x83\x67\r\n", "\x83\x5C\x83\x74\x83\x67", ""},
      // Only the first 30,000 bytes are read.
      {filler + "[=製品名=]Late\r\n", "", ""},
      {"[=製品名=]\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]1\r\n", "", "1"},
  };
  for (const Case& c : cases) {
    WriteSupportFile(c.file);
    SupportInfo info;
    EXPECT_EQ(info.ProductName(), c.name) << c.file.substr(0, 40);
    EXPECT_EQ(info.ProductVersion(), c.version) << c.file.substr(0, 40);
  }
}

TEST_F(SupportFile, MultiLineFieldsKeepTheirLineBreaks) {
  WriteSupportFile(
      "[=お問い合わせ内容=]line 1\r\nline 2\r\n[=症状が再現する手順や条件=]step 1\r\nstep "
      "2\r\n\x1A");
  SupportInfo info;
  EXPECT_EQ(info.Field("[=お問い合わせ内容=]"), "line 1\r\nline 2");
  EXPECT_EQ(info.Field("[=症状が再現する手順や条件=]"), "step 1\r\nstep 2\r\n");
  EXPECT_EQ(info.ProductName(), "");
}

TEST(ToFullWidth, MapsAndCutsAtThirtyTwoBytesWithoutSplittingACharacter) {
  struct Case {
    std::string name;
    std::string expected;
  };
  const std::string twenty = "一二三四五六七八九十壱弐参四五六七八九十";
  const Case cases[] = {
      {"ABC", "ＡＢＣ"},
      {"ｶﾌﾞｼｷｶﾞｲｼｬ", "カブシキガイシャ"},
      {twenty, twenty.substr(0, 32)},
      // A single byte left as it is shifts the cut: 1 + 15 x 2 = 31 bytes.
      {"\\" + twenty, "\\" + twenty.substr(0, 30)},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ToFullWidth(c.name), c.expected) << c.name;
}

TEST(BasicSection, JournalVariant) {
  struct Case {
    std::uint8_t taxationKind;
    std::uint8_t entityKind;
    const char* entityClass;
    const char* taxClass;
    const char* purchaseCalc;
  };
  const Case cases[] = {
      {2, 0, "1", "1", "1"}, {2, 1, "1", "1", "1"}, {1, 3, "2", "2", ""},
      {1, 4, "2", "2", ""},  {0, 2, "", "2", ""},   {2, 5, "", "1", "1"},
  };
  for (const Case& c : cases) {
    ReportContext context = reporttest::BaseContext(c.taxationKind, c.entityKind);
    std::string expected =
        "\t<BASIC>\r\n" + Element("KOMONSAKINAME", "株式会社データ＆Ｃｏ") +
        Element("JIGYOUNENDOFROM", "20190401") + Element("JIGYOUNENDOTO", "20200331") +
        Element("HOUJINKOJINKUBUN", c.entityClass) + Element("KAZEIKUBUN", c.taxClass) +
        Element("KEIKASHOCHIKAZEISHISAN", "2") + Element("URIAGEZEIGAKUKEISAN", "1") +
        Element("SHIIREZEIGAKUKEISAN", c.purchaseCalc) + "\t</BASIC>\r\n";
    EXPECT_EQ(Basic(context, BasicVariant::kJournal), expected) << int(c.entityKind);
  }
}

TEST(BasicSection, SavedFiguresVariant) {
  reporttest::SavedFixture fixture(2, 0);
  std::string text = Basic(fixture.context, BasicVariant::kSavedFigures);
  for (auto [name, value] : {std::pair{"JIGYOUNENDOFROM", "20180401"},
                             {"JIGYOUNENDOTO", "20190331"},
                             {"KEIKASHOCHIKAZEISHISAN", "1"},
                             {"URIAGEZEIGAKUKEISAN", "2"},
                             {"SHIIREZEIGAKUKEISAN", "2"}}) {
    EXPECT_NE(text.find(Element(name, value)), std::string::npos) << name;
  }
  fixture.buffer[StSaveTaxInfo::kPurchaseTaxCalc] = 0;
  EXPECT_NE(
      Basic(fixture.context, BasicVariant::kSavedFigures).find(Element("SHIIREZEIGAKUKEISAN", "1")),
      std::string::npos);
  // Without saved figures the section fails before the first element that reads them.
  fixture.context.savedFigures = nullptr;
  int result = 1;
  text = Basic(fixture.context, BasicVariant::kSavedFigures, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(text, "\t<BASIC>\r\n" + Element("KOMONSAKINAME", "株式会社データ＆Ｃｏ"));
}

TEST(HasSupersededRateFigures, LooksOnlyAtTheSupersededRates) {
  EXPECT_FALSE(HasSupersededRateFigures(nullptr));
  TaxTotals totals;
  totals.Allocate(5);
  // Current rates (10 %, reduced 8 %) and offsets past the 55 return figures never count.
  totals.rateRecords[1].SetAmountAt(441, 1);
  totals.specialAccountSums[1] = 1;
  totals.businessTypeRecords[11].SetAmountAt(48, 1);
  totals.rateRecords[2].SetAmountAt(449, 1);
  EXPECT_FALSE(HasSupersededRateFigures(&totals));
  // Each probe counts; with two rates in use only the special-account sums still do.
  struct Probe {
    void (*set)(TaxTotals&);
    bool withTwoRates;
  };
  const Probe probes[] = {
      {[](TaxTotals& t) { t.rateRecords[2].SetAmountAt(9, 5); }, false},
      {[](TaxTotals& t) { t.rateRecords[4].SetAmountAt(441, -1); }, false},
      {[](TaxTotals& t) { t.specialAccountSums[3] = 1; }, true},
      {[](TaxTotals& t) { t.businessTypeRecords[12].SetAmountAt(8, 1); }, false},
      {[](TaxTotals& t) { t.businessTypeRecords[29].SetAmountAt(48, 1); }, false},
  };
  for (const Probe& probe : probes) {
    TaxTotals copy = totals;
    probe.set(copy);
    EXPECT_TRUE(HasSupersededRateFigures(&copy));
    copy.rateCount = 2;
    EXPECT_EQ(HasSupersededRateFigures(&copy), probe.withTwoRates);
  }
}
