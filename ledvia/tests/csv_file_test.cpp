// The CSV reader and the text forms of the values in the files.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "ledvia/csv_file.h"
#include "ledvia/csv_read_ahead.h"
#include "ledvia/csv_values.h"

namespace ledvia {
namespace {

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Every record as [field|field]; a bad record as !LINE:COLUMN reason.
template <typename Reader = CsvReader>
std::string Read(const std::string& input) {
  std::istringstream in(input);
  Reader reader(in);
  CsvRecord record;
  std::string out;
  while (reader.Next(&record)) {
    if (!record.error.empty()) {
      out += "!" + std::to_string(record.errorLine) + ":" + std::to_string(record.errorColumn) +
             " " + record.error;
      continue;
    }
    out += "[";
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      out += (i > 0 ? "|" : "") + record.fields[i].text;
    }
    out += "]";
  }
  return out;
}

TEST(CsvReaderTest, ReadsRecordsAsRfc4180WritesThem) {
  // Ordinary literals are code page 932 here, the form fields come out in.
  const struct {
    std::string input, expected;
  } cases[] = {
      {"a,b\r\nc,d\r\n", "[a|b][c|d]"},
      {"a,b\nc", "[a|b][c]"},
      {"a,,\n", "[a||]"},
      {"\n\r\na\n\n", "[a]"},
      {"\"x,y\",\"said \"\"hi\"\"\"\n", "[x,y|said \"hi\"]"},
      {"\"two\r\nlines\",z\r\n", "[two\r\nlines|z]"},
      {"\"\"\n", "[]"},
      {"\xEF\xBB\xBF" + U8(u8"名前,ｶﾅ\r\n"), "[名前|ｶﾅ]"},
      {"名前,ｶﾅ\n", "[名前|ｶﾅ]"},
      {"a\"b,c\nd\n", "!1:2 a quote inside a field that does not begin with one[d]"},
      {"\"ab\"c,d\ne\n",
       "!1:5 text after a closing quote (a quote inside a field is written twice)[e]"},
      {"x\n\"open,\nmore\n", "[x]!2:1 the quote opened here is never closed"},
      {U8(u8"名\n") + "名\n",
       "[名]!2:1 text not in UTF-8, which line 1 is (one file, one encoding)"},
      {"\xEF\xBB\xBF"
       "a\n名\n",
       "[a]!2:1 text not in UTF-8, which the byte-order mark says (one file, one encoding)"},
      {"a,\xFF\xFE\n", "!1:3 text neither UTF-8 nor Shift_JIS"},
      {U8(u8"\U0001F600\n"), "!1:1 a character Shift_JIS (code page 932) lacks"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.input), c.expected) << c.input;
}

// Columns count characters, whichever encoding; lines count from the field's own start.
TEST(CsvReaderTest, FieldsKnowTheirLineAndCharacterColumn) {
  for (const std::string& input :
       {U8(u8"名前,\"a\nb\",x\r\nc\n"), std::string("名前,\"a\nb\",x\r\nc\n")}) {
    std::istringstream in(input);
    CsvReader reader(in);
    CsvRecord record;
    ASSERT_TRUE(reader.Next(&record));
    ASSERT_EQ(record.fields.size(), 3u);
    EXPECT_EQ(record.fields[1].line, 1);
    EXPECT_EQ(record.fields[1].column, 4);
    EXPECT_EQ(record.fields[2].line, 2);
    EXPECT_EQ(record.fields[2].column, 4);
    ASSERT_TRUE(reader.Next(&record));
    EXPECT_EQ(record.line, 3);
  }
}

// Reading ahead on a thread hands out what the reader reads, in order, over many batches; one
// left before the end stops its thread.
TEST(CsvReaderTest, ReadingAheadGivesTheSameRecords) {
  std::string input;
  for (int i = 0; i < 5000; ++i) {
    input += std::to_string(i) + (i % 7 == 0    ? ",\"two\nlines\"\n"
                                  : i % 11 == 0 ? ",a\"b\n"
                                                : ",x\r\n");
  }
  EXPECT_EQ(Read<CsvReadAhead>(input), Read(input));
  EXPECT_EQ(Read<CsvReadAhead>(""), "");
  std::string wide;  // batches that end at their size in bytes
  for (int i = 0; i < 20; ++i)
    wide += std::string(300000, 'a' + i) + "," + std::to_string(i) + "\n";
  EXPECT_EQ(Read<CsvReadAhead>(wide), Read(wide));
  std::istringstream in(input);
  CsvReadAhead early(in);
  CsvRecord record;
  ASSERT_TRUE(early.Next(&record));
  EXPECT_EQ(record.fields[0].text, "0");
}

TEST(CsvValuesTest, ReadsAndWritesAmountsDatesAndRates) {
  const struct {
    const char* text;
    std::int64_t value;  // ten-thousandths of a yen
    const char* error;   // start of the reason, "" when good
  } amounts[] = {
      {"1234.5", 12345000, ""},
      {"-0.0001", -1, ""},
      {"007", 70000, ""},
      {"99999999999999.9999", 999999999999999999, ""},
      {"100000000000000", 0, "an amount of 10^14 yen or more"},
      {"1.23456", 0, "an amount with more than four decimals"},
      {"1,000", 0, "not an amount"},
      {"1.", 0, "not an amount"},
      {"", 0, "not an amount"},
  };
  for (const auto& c : amounts) {
    std::int64_t value = 0;
    std::string error = csv::ParseAmount(c.text, &value);
    EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.text;
    if (error.empty()) {
      EXPECT_EQ(value, c.value) << c.text;
      std::int64_t again = 0;
      EXPECT_EQ(csv::ParseAmount(csv::FormatAmount(value), &again), "");
      EXPECT_EQ(again, value) << csv::FormatAmount(value);
    }
  }
  EXPECT_EQ(csv::FormatAmount(-12345000), "-1234.5");
  const struct {
    const char* text;
    int date;  // 0: refused
  } dates[] = {{"2020/4/1", 20200401}, {"20200401", 20200401}, {"2020/02/29", 20200229},
               {"2021/02/29", 0},      {"2020-04-01", 0},      {"202004011", 0}};
  for (const auto& c : dates) {
    int date = 0;
    EXPECT_EQ(csv::ParseDate(c.text, &date).empty(), c.date != 0) << c.text;
    EXPECT_EQ(date, c.date) << c.text;
  }
  EXPECT_EQ(csv::FormatDate(20200401), "2020/04/01");
  int rate = 0;
  EXPECT_EQ(csv::ParseRate("6.24", &rate), "");
  EXPECT_EQ(rate, 624);
  EXPECT_NE(csv::ParseRate("100.01", &rate), "");
  EXPECT_EQ(csv::FormatRate(1000), "10");
  EXPECT_EQ(csv::FormatRate(624), "6.24");
  EXPECT_EQ(csv::FormatRate(650), "6.5");
  std::int64_t code = 0;
  EXPECT_EQ(csv::ParseWhole("0x40882004", 0, 4294967295LL, &code, true), "");
  EXPECT_EQ(code, 0x40882004);
  // Sixteen hexadecimal digits: up to the largest signed value, never wrapped round past it.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(csv::ParseWhole("0x7fffffffffffffff", kMin, kMax, &code, true), "");
  EXPECT_EQ(code, kMax);
  EXPECT_NE(csv::ParseWhole("0x8000000000000000", kMin, kMax, &code, true), "");
  EXPECT_NE(csv::ParseWhole("0xffffffffffffffff", kMin, kMax, &code, true), "");
}

}  // namespace
}  // namespace ledvia
