// The composite finds and the two checks the run asks before the aggregation.
#include <cstring>

#include "accounting/ClMsgMgr.h"
#include "aggregate/engine_finds.h"
#include "aggregate/tests/engine_fixture.h"

namespace engine_testing {
namespace {

// Month finds as the run builds them: two, three and four entries.
const MonthFind kMonthFinds[] = {
    MonthFind::Build(3, 5, false, false),
    MonthFind::Build(1, 12, false, true),
    MonthFind::Build(1, 6, true, false),
    MonthFind::Build(1, 6, true, true),
};

// The chain nested at `at` is a byte-for-byte copy of the month find, ending where it ends.
void ExpectMonthFindCopy(const StFINDINFO* find, std::size_t at, const MonthFind& months) {
  const StFINDINFO* copy = NestedChain(find, at);
  for (int i = 0; i < months.Length(); ++i) {
    EXPECT_EQ(std::memcmp(&copy[i], &months.entries[static_cast<std::size_t>(i)], sizeof copy[i]),
              0)
        << "entry " << i;
  }
  EXPECT_EQ(copy[months.Length() - 1].link, kFindLinkNone);
}

TEST(CompositeFindTest, CopiesFollowTheMonthFind) {
  for (const MonthFind& months : kMonthFinds) {
    SCOPED_TRACE(testing::Message() << "month find of " << months.Length() << " entries");
    ImportCheckFind import = BuildImportCheckFind(months);
    EXPECT_EQ(import.entries[0].link, kFindLinkAnd);
    ExpectMonthFindCopy(import.data(), 1, months);
    JournalFind journal = BuildJournalFind(months);
    EXPECT_EQ(journal.entries[0].link, kFindLinkAnd);
    ExpectMonthFindCopy(journal.data(), 1, months);
  }
}

struct ImportCase {
  int category;  // -1: no entry at all
  bool credit;
  int monthIndex;
  int lastMonth;
  bool yearEnd;
  int expected;
};

class ImportCheckTest : public EngineTest, public testing::WithParamInterface<ImportCase> {};

const ImportCase kImportCases[] = {
    {30, false, 2, 6, false, 0},  {31, false, 2, 6, false, 1}, {33, false, 2, 6, false, 1},
    {34, false, 2, 6, false, 1},  {37, false, 2, 6, false, 1}, {38, false, 2, 6, false, 0},
    {35, true, 2, 6, false, 1},   {31, false, 7, 6, false, 0}, {31, false, 18, 6, false, 0},
    {31, false, 18, 12, true, 1}, {-1, false, 2, 12, true, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, ImportCheckTest, testing::ValuesIn(kImportCases));

TEST_P(ImportCheckTest, ImportCategoriesOfTheRange) {
  const ImportCase& c = GetParam();
  AddData();
  if (c.category >= 0 && c.credit) Credit(chart::kSales, 1000, 0, c.category, c.monthIndex);
  if (c.category >= 0 && !c.credit) Debit(chart::kPurchases, 1000, 0, c.category, c.monthIndex);
  Start(1, c.lastMonth, false, c.yearEnd);
  EXPECT_EQ(engine_->HasImportCategoryEntries(), c.expected);
  // A check that cannot be made is not an answer: the run stops on it.
  ledvia::InjectFault("ClRuleShiwake::new", 1);
  EXPECT_EQ(engine_->HasImportCategoryEntries(), kCheckFailed);
}

struct SixthTypeCase {
  const char* fault;
  int businessType;
  int result;
  int count;
  int recordedLine;
};

class SixthTypeTest : public EngineTest, public testing::WithParamInterface<SixthTypeCase> {};

const SixthTypeCase kSixthTypeCases[] = {
    {nullptr, 6, 0, 1, 0},
    {nullptr, 5, 0, 0, 0},
    {"ClRuleShiwake::new", 6, kRuleNotCreated, -7, kSixthTypeRuleLine},
    {"ClRuleShiwake::CheckExistSwkByJigyoBunrui", 6, 4321, -7, kSixthTypeCheckLine},
};
INSTANTIATE_TEST_SUITE_P(Cases, SixthTypeTest, testing::ValuesIn(kSixthTypeCases));

TEST_P(SixthTypeTest, CountAndRecordedStatus) {
  const SixthTypeCase& c = GetParam();
  data_.taxationKind = 1;
  AddData();
  Add(chart::Sale(20200601, 1000, 1000, 0, c.businessType));
  Add(chart::Sale(20200901, 1000, 1000, 0, 6));  // month index 6, outside the range
  Start(1, 5);
  if (c.fault != nullptr) ledvia::InjectFault(c.fault, c.result);
  ClMsgMgr::Inst()->SetLastError(99, "marker", 1);
  int count = -7;
  EXPECT_EQ(engine_->CountSixthBusinessTypeEntries(&count), c.result);
  EXPECT_EQ(count, c.count);
  const ClMsgMgr::Recorded& recorded = ClMsgMgr::Inst()->LastRecorded();
  EXPECT_EQ(recorded.code, c.result);
  EXPECT_EQ(recorded.source, c.recordedLine != 0 ? "AddTax" : "");
  EXPECT_EQ(recorded.line, c.recordedLine);
}

}  // namespace
}  // namespace engine_testing
