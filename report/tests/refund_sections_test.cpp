#include "report/refund_sections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounting/StSaveTaxInfo.h"
#include "report_test_support.h"

namespace {

using Values = std::vector<std::string>;

// The element values of one written section, in order.
template <typename Write>
Values ValuesOf(Write write) {
  reporttest::RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  EXPECT_EQ(write(writer), 1);
  Values values;
  for (std::size_t i = 1; i + 1 < out.lines.size(); ++i) {
    const std::string& line = out.lines[i];
    std::size_t open = line.find('>');
    values.push_back(line.substr(open + 1, line.find("</") - open - 1));
  }
  return values;
}

Values Kanpuh(const TaxTotals& totals, const ReportContext& c) {
  return ValuesOf(
      [&](ReportWriter& w) { return WriteKanpuhFromTotals(w, totals, c.data, c.settings, 0); });
}
Values Kanpuk(const TaxTotals& totals, const ReportContext& c) {
  return ValuesOf(
      [&](ReportWriter& w) { return WriteKanpukFromTotals(w, totals, c.data, c.settings, 0); });
}

}  // namespace

// Sole-proprietor data under general taxation with all figures zero: the income kind decides
// which enabled elements read "0"; KESSANZEIKUBUN stays empty.
TEST(Kanpuk, IncomeMaskFromTotals) {
  const std::string z = "0";
  const Values all = {"", z, z, z, z, z, "", z, z, z, "", z, z, z, z, "", ""};
  const std::pair<std::uint8_t, Values> cases[] = {
      {1, {"", z, z, z, z, z, "", "", "", "", "", "", "", "", "", "", ""}},
      {2, {"", "", "", "", "", "", "", z, z, z, "", "", "", "", "", "", ""}},
      {3, all},
      {0, all},
      {9, all},
  };
  TaxTotals totals;
  totals.Allocate(5);
  for (const auto& [incomeKind, expected] : cases) {
    ReportContext context = reporttest::BaseContext(2, 3);
    context.data.incomeKinds = incomeKind;
    EXPECT_EQ(Kanpuk(totals, context), expected) << "income kind " << int(incomeKind);
  }
  // A disabled figure still makes the class; the flag says tax-inclusive or not.
  totals.otherIncomeFixedAssets.nonTaxable = 1;
  ReportContext context = reporttest::BaseContext(2, 4);
  EXPECT_EQ(Kanpuk(totals, context)[0], "1");
  context.settings.taxInclusive = 0;
  EXPECT_EQ(Kanpuk(totals, context)[0], "2");
  // Corporate data, or simplified taxation: all empty.
  EXPECT_EQ(Kanpuk(totals, reporttest::BaseContext(2, 1)), Values(17, ""));
  EXPECT_EQ(Kanpuk(totals, reporttest::BaseContext(1, 3)), Values(17, ""));
}

TEST(Kanpuh, FromTotals) {
  TaxTotals totals;
  totals.Allocate(5);
  // Entity kind 2 takes the filled path; all zero gives only empty values.
  ReportContext context = reporttest::BaseContext(1, 2);
  EXPECT_EQ(Kanpuh(totals, context), Values(16, ""));
  totals.goodsPurchases.settled = 1000 * 10000;
  totals.deferredAssets = 5 * 10000;
  const Values expected = {"1", "1000", "", "", "", "", "", "", "", "1", "", "", "5", "", "", ""};
  EXPECT_EQ(Kanpuh(totals, context), expected);
  context.settings.taxInclusive = 0;
  EXPECT_EQ(Kanpuh(totals, context)[0], "2");
  context.data.entityKind = 3;
  EXPECT_EQ(Kanpuh(totals, context), Values(16, ""));
  // Any figure of the settled lines makes their class, the last line's non-taxable one too.
  TaxTotals onlyOther;
  onlyOther.Allocate(5);
  onlyOther.otherProfitLoss.nonTaxable = 1;
  EXPECT_EQ(Kanpuh(onlyOther, reporttest::BaseContext(1, 2))[0], "1");
}

TEST(RefundSections, SavedClassBytesAndConditions) {
  reporttest::SavedFixture fixture(2, 0);
  auto kanpuh = [&] {
    const ReportContext& c = fixture.context;
    return ValuesOf([&](ReportWriter& w) {
      return WriteKanpuhFromSaved(w, c.savedFigures, c.data, c.taxationKind, 0);
    });
  };
  auto kanpuk = [&] {
    const ReportContext& c = fixture.context;
    return ValuesOf([&](ReportWriter& w) {
      return WriteKanpukFromSaved(w, c.savedFigures, c.data, c.taxationKind, 0);
    });
  };
  // Class bytes 2 give "2", any other value "1"; the assets class looks at its own amounts.
  fixture.buffer[StSaveTaxInfo::kRefundClassCorporateSettled] = 0;
  fixture.buffer[StSaveTaxInfo::kRefundClassCorporateAssets] = 2;
  EXPECT_EQ(kanpuh()[0], "1");
  EXPECT_EQ(kanpuh()[9], "2");
  for (int i = 8; i < 14; ++i)
    reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kRefundAmounts + 8 * i, 0);
  EXPECT_EQ(kanpuh()[9], "");
  // Each of the six asset amounts on its own makes the block non-empty, the other-asset pair
  // (SONOTASISAN1, SONOTASISAN2) included.
  for (int i = 8; i < 14; ++i) {
    reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kRefundAmounts + 8 * i, 7 * 10000);
    EXPECT_EQ(kanpuh()[9], "2") << "asset amount " << i;
    reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kRefundAmounts + 8 * i, 0);
  }
  EXPECT_EQ(kanpuk(), Values(17, ""));

  fixture.context.data.entityKind = 3;
  EXPECT_EQ(kanpuh(), Values(16, ""));
  Values k = kanpuk();
  EXPECT_EQ(k[0], "2");
  EXPECT_EQ(k[9], "");  // cleared above: the same block as KANPUH's
  fixture.context.taxationKind = 1;
  EXPECT_EQ(kanpuk(), Values(17, ""));
}
