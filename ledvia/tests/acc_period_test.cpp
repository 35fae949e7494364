#include <gtest/gtest.h>

#include "accounting/ClAccPeriod.h"
#include "ledvia/calendar_dates.h"

namespace {

struct MonthCase {
  int start, end, closingDay;
  short month;
  int first, last;  // 0, 0: refused
};

TEST(ClAccPeriodTest, MonthsOfThePeriod) {
  const MonthCase cases[] = {
      {20190401, 20200331, 31, 4, 20190401, 20190430},
      {20190401, 20200331, 31, 3, 20200301, 20200331},
      {20190401, 20200331, 31, 2, 20200201, 20200229},  // leap year
      {20191221, 20201220, 20, 1, 20191221, 20200120},  // closing on the 20th
      {20191221, 20201220, 20, 12, 20201121, 20201220},
      {20190121, 20200120, 30, 2, 20190131, 20190228},  // closing day past a short month
      {20190401, 20190930, 31, 11, 0, 0},               // a short period has no November
      {20190401, 20200331, 31, 13, 0, 0},
      {20190401, 20200331, 31, 0, 0, 0},
  };
  for (const MonthCase& c : cases) {
    ClAccPeriod period;
    ASSERT_EQ(period.SetClosingDay(c.closingDay), 0);
    ASSERT_EQ(period.SetPeriod(c.start, c.end), 0);
    int first = -1;
    int last = -1;
    int code = period.GetPeriodByAMonth(c.month, &first, &last, 0);
    if (c.first == 0) {
      EXPECT_NE(code, 0) << "month " << c.month;
    } else {
      EXPECT_EQ(code, 0) << "month " << c.month;
      EXPECT_EQ(first, c.first) << "month " << c.month;
      EXPECT_EQ(last, c.last) << "month " << c.month;
    }
  }
}

TEST(ClAccPeriodTest, MonthOfADate) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetClosingDay(20), 0);
  ASSERT_EQ(period.SetPeriod(20191221, 20201220), 0);
  const struct {
    int date;
    short month;  // 0: refused
  } cases[] = {{20191221, 1}, {20200120, 1}, {20200121, 2}, {20201220, 12},
               {20191220, 0}, {20201221, 0}, {20200230, 0}, {0, 0}};
  for (const auto& c : cases) {
    short month = 77;
    int code = period.GetAMonthByDate(c.date, &month, 0);
    EXPECT_EQ(month, c.month) << c.date;
    EXPECT_EQ(code == 0, c.month != 0) << c.date;
  }
}

TEST(ClAccPeriodTest, MonthKindsIncludeTheAdjustmentPeriods) {
  ClAccPeriod period;
  ASSERT_EQ(period.SetPeriod(20200401, 20210331), 0);
  const struct {
    int index, first, last;
  } cases[] = {{1, 20200401, 20200430},
               {6, 20200901, 20200930},
               {12, 20210301, 20210331},
               {15, 20200930, 20200930},
               {18, 20210331, 20210331},
               {13, 0, 0},
               {0, 0, 0}};
  for (const auto& c : cases) {
    int first = 0;
    int last = 0;
    int code = period.GetPeriodByMonthKind(c.index, &first, &last, 0);
    EXPECT_EQ(code == 0, c.first != 0) << c.index;
    if (c.first != 0) {
      EXPECT_EQ(first, c.first) << c.index;
      EXPECT_EQ(last, c.last) << c.index;
    }
  }
}

// Every day of the period lies in exactly the month GetAMonthByDate names, the months follow
// one another without gap or overlap, and they cover the period from its first to its last day.
TEST(ClAccPeriodTest, MonthsTileThePeriod) {
  const struct {
    int start, end;
  } periods[] = {
      {20190401, 20200331},  // April to March over a leap February
      {20200101, 20201231},  // calendar year
      {20191221, 20201220},  // closing on the 20th
      {20190131, 20200130},  // closing on the 30th, past the end of February
      {20190301, 20200228},  // closing on the 28th in a leap year
      {20200301, 20210228},  // month end in a common year
  };
  for (const auto& p : periods) {
    ClAccPeriod period;
    ASSERT_EQ(period.SetPeriod(p.start, p.end), 0) << p.start;
    ASSERT_EQ(period.SetClosingDay(period.GetClosingDayByEndDate(p.end, 0)), 0) << p.start;
    short firstMonth = 0;
    ASSERT_EQ(period.GetAMonthByDate(p.start, &firstMonth, 0), 0) << p.start;
    int expectedFirst = p.start;
    for (int index = 0; index < 12; ++index) {
      short month = static_cast<short>((firstMonth - 1 + index) % 12 + 1);
      int first = 0;
      int last = 0;
      ASSERT_EQ(period.GetPeriodByAMonth(month, &first, &last, 0), 0) << p.start << " " << month;
      EXPECT_EQ(first, expectedFirst) << p.start << " month " << month;
      int kindFirst = 0;
      int kindLast = 0;
      ASSERT_EQ(period.GetPeriodByMonthKind(index + 1, &kindFirst, &kindLast, 0), 0);
      EXPECT_EQ(kindFirst, first) << p.start << " index " << index + 1;
      EXPECT_EQ(kindLast, last) << p.start << " index " << index + 1;
      for (int day = first; day <= last; day = ledvia::NextDay(day)) {
        short found = 0;
        ASSERT_EQ(period.GetAMonthByDate(day, &found, 0), 0) << day;
        ASSERT_EQ(found, month) << day;
      }
      expectedFirst = ledvia::NextDay(last);
    }
    EXPECT_EQ(expectedFirst, ledvia::NextDay(p.end)) << p.start;
  }
}

TEST(ClAccPeriodTest, ClosingDayAndPeriodChecks) {
  ClAccPeriod period;
  EXPECT_EQ(period.GetClosingDayByEndDate(20200331, 0), 31);
  EXPECT_EQ(period.GetClosingDayByEndDate(20200229, 0), 31);
  EXPECT_EQ(period.GetClosingDayByEndDate(20201220, 0), 20);
  EXPECT_EQ(period.GetClosingDayByEndDate(20201232, 0), 0);
  int start = 0;
  int end = 0;
  EXPECT_NE(period.GetPeriod(&start, &end), 0);  // nothing set yet
  EXPECT_NE(period.SetPeriod(20200401, 20200331), 0);
  EXPECT_NE(period.SetPeriod(20200401, 20210401), 0);  // longer than a year
  EXPECT_NE(period.SetClosingDay(0), 0);
  EXPECT_NE(period.SetClosingDay(32), 0);
  ASSERT_EQ(period.SetPeriod(20200401, 20210331), 0);
  ASSERT_EQ(period.GetPeriod(&start, &end), 0);
  EXPECT_EQ(start, 20200401);
  EXPECT_EQ(end, 20210331);
}

}  // namespace
