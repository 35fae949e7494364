#include "report/refund_sections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounting/StSaveTaxInfo.h"
#include "report_test_support.h"

using reporttest::RecordingOutput;

namespace {

using Values = std::vector<std::string>;

// The element values of one written section, in order.
Values ValuesOf(const std::vector<std::string>& lines) {
  Values values;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    std::size_t open = line.find('>');
    std::size_t close = line.find("</");
    values.push_back(line.substr(open + 1, close - open - 1));
  }
  return values;
}

template <typename Write>
Values Section(Write write) {
  RecordingOutput out;
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  EXPECT_EQ(write(writer), 1);
  return ValuesOf(out.lines);
}

constexpr std::int64_t kYen = 10000;

}  // namespace

// Sole-proprietor data under general taxation with all figures zero: the income kind decides
// which enabled elements read "0"; KESSANZEIKUBUN stays empty.
TEST(Kanpuk, IncomeMaskFromTotals) {
  struct Case {
    std::uint8_t incomeKind;
    Values expected;
  };
  const std::string z = "0";
  const Case cases[] = {
      {1, {"", z, z, z, z, z, "", "", "", "", "", "", "", "", "", "", ""}},
      {2, {"", "", "", "", "", "", "", z, z, z, "", "", "", "", "", "", ""}},
      {3, {"", z, z, z, z, z, "", z, z, z, "", z, z, z, z, "", ""}},
      {0, {"", z, z, z, z, z, "", z, z, z, "", z, z, z, z, "", ""}},
      {9, {"", z, z, z, z, z, "", z, z, z, "", z, z, z, z, "", ""}},
  };
  TaxTotals totals;
  totals.Allocate(5);
  for (const Case& c : cases) {
    ReportContext context = reporttest::BaseContext(2, 3);
    context.data.incomeKinds = c.incomeKind;
    Values values = Section([&](ReportWriter& w) {
      return WriteKanpukFromTotals(w, totals, context.data, context.settings, 0);
    });
    EXPECT_EQ(values, c.expected) << "income kind " << int(c.incomeKind);
  }
  EXPECT_EQ(IncomeMask(1), 1);
  EXPECT_EQ(IncomeMask(2), 2);
  EXPECT_EQ(IncomeMask(3), 4);
  EXPECT_EQ(IncomeMask(4), 0);
}

TEST(Kanpuk, ClassCountsDisabledFiguresAndCorporateOrSimplifiedDataStaysEmpty) {
  TaxTotals totals;
  totals.Allocate(5);
  totals.otherIncomeFixedAssets.nonTaxable = 1;  // disabled, still makes the class
  ReportContext context = reporttest::BaseContext(2, 4);
  context.data.incomeKinds = 2;
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpukFromTotals(w, totals, context.data, context.settings, 0);
            })[0],
            "1");
  context.settings.taxInclusive = 0;
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpukFromTotals(w, totals, context.data, context.settings, 0);
            })[0],
            "2");
  const Values empty(17, "");
  for (auto [taxation, entity] : {std::pair{2, 0}, std::pair{2, 1}, std::pair{1, 3}}) {
    ReportContext other = reporttest::BaseContext(taxation, entity);
    EXPECT_EQ(Section([&](ReportWriter& w) {
                return WriteKanpukFromTotals(w, totals, other.data, other.settings, 0);
              }),
              empty);
  }
}

TEST(Kanpuh, FromTotals) {
  TaxTotals totals;
  totals.Allocate(5);
  ReportContext context = reporttest::BaseContext(1, 2);
  // All zero: only empty values, the taxation kind is not consulted.
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpuhFromTotals(w, totals, context.data, context.settings, 0);
            }),
            Values(16, ""));
  totals.goodsPurchases.settled = 1000 * kYen;
  totals.deferredAssets = 5 * kYen;
  const Values expected = {"1", "1000", "", "", "", "", "", "", "", "1", "", "", "5", "", "", ""};
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpuhFromTotals(w, totals, context.data, context.settings, 0);
            }),
            expected);
  context.settings.taxInclusive = 0;
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpuhFromTotals(w, totals, context.data, context.settings, 0);
            })[0],
            "2");
  context.data.entityKind = 3;
  EXPECT_EQ(Section([&](ReportWriter& w) {
              return WriteKanpuhFromTotals(w, totals, context.data, context.settings, 0);
            }),
            Values(16, ""));
}

TEST(RefundSections, SavedClassBytesAndConditions) {
  reporttest::SavedFixture fixture(2, 0);
  auto kanpuh = [&](const ReportContext& c) {
    return Section([&](ReportWriter& w) {
      return WriteKanpuhFromSaved(w, c.savedFigures, c.data, c.taxationKind, 0);
    });
  };
  auto kanpuk = [&](const ReportContext& c) {
    return Section([&](ReportWriter& w) {
      return WriteKanpukFromSaved(w, c.savedFigures, c.data, c.taxationKind, 0);
    });
  };
  // Fixture class bytes: settled 1 -> "1", assets 2 -> "2", sole proprietor 2 -> "2".
  Values h = kanpuh(fixture.context);
  EXPECT_EQ(h[0], "1");
  EXPECT_EQ(h[9], "2");
  EXPECT_EQ(kanpuk(fixture.context), Values(17, ""));
  fixture.buffer[StSaveTaxInfo::kRefundClassCorporateSettled] = 0;  // any value but 2 gives "1"
  fixture.buffer[StSaveTaxInfo::kRefundClassCorporateAssets] = 3;
  h = kanpuh(fixture.context);
  EXPECT_EQ(h[0], "1");
  EXPECT_EQ(h[9], "1");
  // The class of the assets block looks only at its own six amounts.
  for (int i = 8; i < 14; ++i) {
    reporttest::SetSaved(fixture.buffer, StSaveTaxInfo::kRefundAmounts + 8 * i, 0);
  }
  h = kanpuh(fixture.context);
  EXPECT_EQ(h[0], "1");
  EXPECT_EQ(h[9], "");

  fixture.context.data.entityKind = 3;
  EXPECT_EQ(kanpuh(fixture.context), Values(16, ""));
  Values k = kanpuk(fixture.context);
  EXPECT_EQ(k[0], "2");
  EXPECT_EQ(k[9], "");  // its amount was cleared above
  EXPECT_NE(k[16], "");
  fixture.context.taxationKind = 1;
  EXPECT_EQ(kanpuk(fixture.context), Values(17, ""));
  EXPECT_EQ(kanpuh(fixture.context), Values(16, ""));
}
