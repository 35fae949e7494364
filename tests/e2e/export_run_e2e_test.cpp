// The export run of the built programs, started through ledvia-host with scripted answers, on
// the bundled sample company database: what each sample user ends with, the files against
// committed golden files (read back by libxml2's xmllint and recomputed with SQL), the month
// ranges, the remembered settings, and the failure paths.
//
// QL_UPDATE_GOLDEN=1 writes the produced files over the golden files instead of comparing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/host_run.h"
#include "tests/support/shell.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using e2e::HostRun;
using Lines = std::vector<std::string>;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Message boxes of the run (fragments, UTF-8).
const std::string kSixthType = U8(u8"Ledvia２０ Arvelle の以下の機能にて事業分類を見直して");
const std::string kImport = U8(u8"未確定の税区分(31,32,33,35,36,37)を使用している仕訳");
const std::string kDone = U8(u8"消費税情報の出力が終了しました。");
const std::string kExempt = U8(u8"消費税申告区分が免税のデータは、連携の対象として使用できません");
const std::string kPast = U8(u8"過去実績データは、連携の対象として使用できません");
const std::string kNoData = U8(u8"選択されているデータが見つかりません。");
const std::string kSystemFailed = U8(u8"システム情報の出力に失敗しました。");
const std::string kBasicFailed = U8(u8"基本情報の出力に失敗しました。");
const std::string kDataFailed = U8(u8"連動情報の出力に失敗しました。");
const std::string kOverflow = U8(u8"金額が処理できる範囲を超えたため");
const std::string kUnfinished = U8(u8"出力したファイルは完全ではありません。");
const std::string kUnexpected = U8(u8"消費税情報の出力中にエラーが発生しました。");

std::string GoldenPath(const std::string& name) {
  return reinterpret_cast<const char*>(u8"" QL_E2E_GOLDEN_DIR "/") + name;
}

// The value xmllint reads at `xpath`; fails the test when xmllint cannot read the file.
std::string XPath(const std::string& file, const std::string& xpath) {
  testsupport::ShellRun read = testsupport::Shell(
      "xmllint --xpath " + e2e::Quoted("string(" + xpath + ")") + " " + e2e::Quoted(file));
  EXPECT_EQ(read.exitCode, 0) << file << " " << xpath;
  std::string value = read.output;
  while (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

// One whole-number result of `query` on the company database at `path`.
std::int64_t SqlNumber(const std::string& path, const std::string& query) {
  sqlite3* db = nullptr;
  std::int64_t value = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      value = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
  }
  EXPECT_NE(value, -1) << sqlite3_errmsg(db) << ": " << query;
  sqlite3_close(db);
  return value;
}

// The element text of a whole-yen amount: empty for zero.
std::string YenText(std::int64_t yen) { return yen == 0 ? "" : std::to_string(yen); }

class ExportRun : public ::testing::Test {
 protected:
  std::string Home() const { return temp_ / "home"; }
  std::string Output(const std::string& name = "out.xml") const { return temp_ / name; }
  static std::string Windows(const std::string& linuxPath) { return e2e::DriveZ(linuxPath); }

  // A copy of the sample database changed by `sql`.
  std::string ChangedDatabase(const std::string& sql) const {
    std::string path = temp_ / "changed.db";
    fs::copy_file(e2e::BinDir() + "/sample/ledvia-sample.db", path,
                  fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    return path;
  }

  // Starts `edition` for `user` with `script` as the user's input.
  HostRun Run(const std::string& user, const Lines& script, const std::string& hostArgs = "",
              const std::string& env = "", const std::string& edition = "moravel") const {
    std::string text;
    for (const std::string& line : script) text += line + "\n";
    std::string scriptPath = temp_.WriteFile("script.txt", text);
    std::string environment = e2e::SampleDatabase() + " LEDVIA_HOME=" + e2e::Quoted(Home()) +
                              " LEDVIA_USER=" + user +
                              " WINPORT_UI=" + e2e::Quoted("script:" + scriptPath) + " " + env;
    return e2e::RunHost(environment, hostArgs, e2e::BinDir() + "/" + edition);
  }

  // The usual choices: `choices`, then the output path typed, then Execute.
  Lines Export(Lines choices, const std::string& output) const {
    choices.push_back("type 1008 " + Windows(output));
    choices.push_back("key F12");
    return choices;
  }

  // The produced file equals the golden file byte for byte and is well-formed XML.
  void ExpectGolden(const std::string& produced, const std::string& golden) const {
    std::optional<std::string> bytes = e2e::ReadBytes(produced);
    ASSERT_TRUE(bytes) << "no file for " << golden;
    if (std::getenv("QL_UPDATE_GOLDEN") != nullptr) {
      std::ofstream(GoldenPath(golden), std::ios::binary) << *bytes;
    }
    std::optional<std::string> expected = e2e::ReadBytes(GoldenPath(golden));
    ASSERT_TRUE(expected) << GoldenPath(golden);
    if (*bytes != *expected) {
      std::size_t at = 0;
      while (at < bytes->size() && at < expected->size() && (*bytes)[at] == (*expected)[at]) ++at;
      ADD_FAILURE() << golden << " differs from byte " << at << ": "
                    << bytes->substr(at >= 40 ? at - 40 : 0, 80);
    }
    testsupport::ShellRun check =
        testsupport::Shell("xmllint --noout " + e2e::Quoted(produced) + " 2>&1");
    EXPECT_EQ(check.exitCode, 0) << golden << check.output;
    EXPECT_EQ(XPath(produced, "count(/REPORT/DATA/*)"), "37") << golden;
  }

  testsupport::TempFolder temp_;
};

// Every sample user ends as the run says: the messages in order, the result posted to the
// caller, and the file (or none).
TEST_F(ExportRun, EverySampleUserEndsAsSpecified) {
  struct Case {
    const char* user;
    Lines choices;
    bool execute;  // type the output path and press Execute after the choices
    int result;
    Lines boxes;         // every message box, in order
    const char* golden;  // nullptr: no file may appear
  };
  const Case cases[] = {
      {"user1", {}, true, 0, {kImport, kDone}, "user1-journal.xml"},
      {"user1", {"click 1031"}, true, 0, {kDone}, "user1-saved.xml"},
      {"user2", {}, true, 1, {kSixthType}, nullptr},
      {"user2", {"type 1014 4", "type 1016 9"}, true, 0, {kDone}, "user2-april-to-september.xml"},
      {"user3", {}, true, 0, {kDone}, "user3-journal.xml"},
      {"user4", {}, false, 1, {kExempt}, nullptr},
      {"user5", {}, false, 1, {kPast}, nullptr},
      {"user6", {}, true, 0, {kDone}, "user6-journal.xml"},
      {"user7", {}, true, 0, {kDone}, "user7-journal.xml"},
      {"nodata", {}, false, 2, {kNoData}, nullptr},
  };
  for (const Case& c : cases) {
    const std::string output = Output(std::string(c.user) + ".xml");
    fs::remove(output);
    HostRun run = Run(c.user, c.execute ? Export(c.choices, output) : c.choices);
    SCOPED_TRACE(std::string(c.user) + (c.golden != nullptr ? " " + std::string(c.golden) : "") +
                 "\n" + run.output);
    EXPECT_EQ(run.exitCode, c.result);
    EXPECT_TRUE(run.Has("posted message=1024 wparam=1 lparam=" + std::to_string(c.result)));
    EXPECT_EQ(run.BoxCount(), static_cast<int>(c.boxes.size()));
    EXPECT_TRUE(run.HasInOrder(c.boxes));
    if (c.golden != nullptr) {
      ExpectGolden(output, c.golden);
    } else {
      EXPECT_FALSE(fs::exists(output));
    }
  }
}

// A handful of figures of the golden files, recomputed straight from the company database.
TEST_F(ExportRun, GoldenFiguresAgreeWithTheCompanyDatabase) {
  const std::string sales =
      "(sum(case when credit_category=1 then credit_%s else 0 end)"
      " - sum(case when debit_category=1 then debit_%s else 0 end))";
  auto salesOf = [&](const char* column) {
    std::string text = sales;
    for (std::size_t at; (at = text.find("%s")) != std::string::npos;) text.replace(at, 2, column);
    return text;
  };
  struct Figure {
    const char* golden;
    const char* xpath;
    std::string sql;  // whole yen
  };
  const Figure figures[] = {
      {"user1-journal.xml", "/REPORT/DATA/D020114/KAZEIURIAGEZEINUKI10",
       "select " + salesOf("amount") +
           "/10000 from journal where data_no=1 and rate=1000 and reduced=0"},
      {"user1-journal.xml", "/REPORT/DATA/D020113/KAZEIURIAGEZEIGAKU8K",
       "select " + salesOf("tax") +
           "/10000 from journal where data_no=1 and rate=800 and reduced=1"},
      {"user1-journal.xml", "/REPORT/DATA/D020114/HIKAZEIURIAGEYUUKAZEINUKI10",
       "select sum(credit_amount)/10000 from journal where data_no=1 and credit_category=4 and "
       "rate=1000"},
      {"user1-journal.xml", "/REPORT/DATA/KANPUH/KOTEISHISAN1",
       "select sum(amount)/10000 from fixed_assets where data_no=1 and kind<>9 and date between "
       "20190401 and 20200331"},
      {"user1-journal.xml", "/REPORT/DATA/KANPUH/KURINOBESHISAN1",
       "select sum(amount)/10000 from fixed_assets where data_no=1 and kind=9"},
      {"user1-saved.xml", "/REPORT/DATA/D020114/KAZEIURIAGEZEINUKI10",
       "select value/10000 from saved_figures where data_no=1 and offset=12611"},
      {"user2-april-to-september.xml", "/REPORT/DATA/D020210/KAZEIURIAGE6SHUZEINUKI8",
       "select sum(credit_amount)/10000 from journal where data_no=2 and credit_category=1 and "
       "business_type=6 and rate=800 and month_index between 7 and 12"},
      {"user3-journal.xml", "/REPORT/DATA/D020110/KAZEIURIAGEZEIKOMI8",
       "select (" + salesOf("amount") + " + " + salesOf("tax") +
           ")/10000 from journal where data_no=3 and rate=800 and reduced=0"},
  };
  const std::string database = e2e::BinDir() + "/sample/ledvia-sample.db";
  for (const Figure& f : figures) {
    EXPECT_EQ(XPath(GoldenPath(f.golden), f.xpath), YenText(SqlNumber(database, f.sql)))
        << f.golden << " " << f.xpath;
  }
}

// The month range reaches the engine as the month indices of the accounting year, with the
// interim-closing (15) or year-end (18) adjustment where the range calls for it. A sale of 2^i
// yen is added in every month index i, so the 10 % sales name the indices summed.
TEST_F(ExportRun, MonthRangesSumTheirMonthIndices) {
  std::string sql;
  for (int data : {1, 3, 6}) {
    for (int index : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 18}) {
      sql +=
          "insert into journal (data_no, entry_no, date, month_index, debit_account, "
          "debit_amount, credit_account, credit_amount, credit_category, rate) values (" +
          std::to_string(data) + ", " + std::to_string(9000 + index) + ", 0, " +
          std::to_string(index) + ", 130, " + std::to_string((1LL << index) * 10000) + ", 400, " +
          std::to_string((1LL << index) * 10000) + ", 1, 1000);";
    }
  }
  const std::string database = ChangedDatabase(sql);
  struct Case {
    const char* user;
    int data;
    int start, end;
    const char* indices;
  };
  const Case cases[] = {
      {"user1", 1, 4, 3, "1,2,3,4,5,6,7,8,9,10,11,12,18"},  // April to March
      {"user6", 6, 4, 9, "1,2,3,4,5,6,15"},                 // April to March, interim closing
      {"user3", 3, 3, 5, "3,4,5"},                          // January to December
  };
  for (const Case& c : cases) {
    fs::remove(Output());
    HostRun run =
        Run(c.user,
            Export({"type 1014 " + std::to_string(c.start), "type 1016 " + std::to_string(c.end)},
                   Output()),
            "", "LEDVIA_DATA=" + e2e::Quoted(database));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::int64_t expected = SqlNumber(
        database, "select sum(credit_amount)/10000 from journal where data_no=" +
                      std::to_string(c.data) + " and credit_category=1 and rate=1000 and " +
                      "reduced=0 and month_index in (" + c.indices + ")");
    EXPECT_EQ(XPath(Output(), "/REPORT/DATA/D020114/KAZEIURIAGEZEINUKI10"), YenText(expected))
        << c.user << " " << c.start << "-" << c.end;
  }
}

// A six-month year with interim closing, up to its last month: the find names both the interim
// (15) and the year-end (18) adjustment, and the account sums count both as the journal does.
TEST_F(ExportRun, SixMonthInterimYearCountsBothAdjustmentsEverywhere) {
  const std::string sixMonths = "update data set period_end = 20200930 where data_no = 6;";
  const std::string purchases =
      "insert into journal (data_no, entry_no, date, month_index, debit_account, debit_amount, "
      "debit_category, credit_account, credit_amount) values "
      "(6, 9115, 20200930, 15, 500, 150000000, 24, 991, 150000000), "
      "(6, 9118, 20200930, 18, 500, 1800000000, 24, 991, 1800000000);";
  auto figure = [&](const std::string& sql, const char* element) {
    fs::remove(Output());
    HostRun run = Run("user6", Export({"type 1014 4", "type 1016 9"}, Output()), "",
                      "LEDVIA_DATA=" + e2e::Quoted(ChangedDatabase(sql)));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::string text = XPath(Output(), std::string("/REPORT/DATA/KANPUH/") + element);
    return text.empty() ? 0 : std::stoll(text);
  };
  // Settled from the account sums, non-taxable from the journal: both gain 15,000 + 180,000.
  for (const char* element : {"SHOHINSHIIRE1", "SHOHINSHIIRE2"}) {
    EXPECT_EQ(figure(sixMonths + purchases, element) - figure(sixMonths, element), 195000)
        << element;
  }
}

// After success the record of the user and data holds the method and months; a run started
// with a handshake keeps the remembered output path, with or without a path of its own.
TEST_F(ExportRun, RememberedSettingsAfterSuccess) {
  const std::string settings = Home() + "/Settings/Moravel.env";
  const std::string first = Output("first.xml");
  HostRun noHandshake = Run("user1", Export({}, first), "--raw ''");
  EXPECT_TRUE(noHandshake.Has("no message")) << noHandshake.output;
  EXPECT_TRUE(fs::exists(first));
  EXPECT_EQ(e2e::ReadBytes(settings), "user1/1/1:0/4/3/" + Windows(first) + "\n");

  HostRun fixedPath = Run("user1", {"type 1014 5", "type 1016 8", "key F12"},
                          "--output " + e2e::Quoted(Windows(Output())));
  EXPECT_EQ(fixedPath.exitCode, 0) << fixedPath.output;
  EXPECT_TRUE(fs::exists(Output()));
  EXPECT_EQ(e2e::ReadBytes(settings), "user1/1/1:0/5/8/" + Windows(first) + "\n");

  HostRun typedPath = Run("user1", Export({"click 1031"}, Output("third.xml")));
  EXPECT_EQ(typedPath.exitCode, 0) << typedPath.output;
  EXPECT_EQ(e2e::ReadBytes(settings), "user1/1/1:1/4/3/" + Windows(first) + "\n");
}

// A write that fails inside SYSTEM leaves the file closed, so every later section fails too.
// Going on past each question finishes the run with M6, yet the caller learns of the failure.
TEST_F(ExportRun, WriteFailureDuringSystem) {
  struct Case {
    const char* user;
    Lines choices;
    Lines answers;
    Lines boxes;
  };
  const Case cases[] = {
      {"user7",
       {},
       {"answer yes", "answer yes", "answer yes"},
       {kSystemFailed, kBasicFailed, kDataFailed, kDone}},
      {"user7", {}, {"answer no"}, {kSystemFailed}},
      {"user1", {"click 1031"}, {"answer no"}, {kSystemFailed}},
      {"user1",
       {"click 1031"},
       {"answer yes", "answer yes", "answer yes"},
       {kSystemFailed, kBasicFailed, kDataFailed, kDone}},
  };
  for (const Case& c : cases) {
    fs::remove(Output());
    Lines script = Export(c.choices, Output());
    script.insert(script.end(), c.answers.begin(), c.answers.end());
    // Writes 0 to 2 are the declaration, REPORT and SYSTEM; the fourth fails (disk full).
    HostRun run = Run(c.user, script, "", "WINPORT_FAIL=WriteFile=112@3");
    SCOPED_TRACE(run.output);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.BoxCount(), static_cast<int>(c.boxes.size()));
    EXPECT_TRUE(run.HasInOrder(c.boxes));
    EXPECT_EQ(e2e::ReadBytes(Output()),
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n\t<SYSTEM>\r\n");
  }
}

// The file is reported written only once it is on the disk: a flush that fails tells the user
// the file is not whole, and the caller gets 2.
TEST_F(ExportRun, AFileThatCannotReachTheDiskIsNotReportedWritten) {
  HostRun run = Run("user7", Export({}, Output()), "", "WINPORT_FAIL=FlushFileBuffers=29");
  EXPECT_EQ(run.exitCode, 2) << run.output;
  EXPECT_TRUE(run.HasInOrder({kUnfinished, kDone})) << run.output;
  EXPECT_EQ(run.BoxCount(), 2);
}

// An amount beyond 10^14 yen, in the sums or in the file's figures, ends the run with one
// message and result 2; the file keeps what was written before. Any other exception out of the
// libraries ends it the same way, with the general message.
TEST_F(ExportRun, AmountOverflowEndsTheRun) {
  struct Case {
    const char* what;
    const char* user;
    Lines choices;
    std::string sql;
    bool fileStarted;
    std::string env = "";
    std::string message = kOverflow;
  };
  const Case cases[] = {
      {"two purchases of 6 x 10^13 yen in the corporate statement",
       "user7",
       {},
       "insert into journal (data_no, entry_no, date, month_index, debit_account, debit_amount, "
       "debit_category, credit_account, credit_amount) values "
       "(7, 901, 20200110, 1, 500, 600000000000000000, 24, 991, 600000000000000000), "
       "(7, 902, 20200210, 2, 500, 600000000000000000, 24, 991, 600000000000000000);",
       false},
      {"saved securities of 5 x 10^12 yen, written twentyfold",
       "user1",
       {"click 1031"},
       "insert or replace into saved_figures (data_no, offset, width, value) values "
       "(1, 12643, 8, 50000000000000000);",
       true},
      {"two taxable sales of 6 x 10^13 yen, of business types 1 and 2",
       "user7",
       {},
       "insert into journal (data_no, entry_no, date, month_index, debit_account, debit_amount, "
       "credit_account, credit_amount, credit_category, rate, business_type) values "
       "(7, 901, 20200110, 1, 130, 600000000000000000, 400, 600000000000000000, 1, 1000, 1), "
       "(7, 902, 20200210, 2, 130, 600000000000000000, 400, 600000000000000000, 1, 1000, 2);",
       true},
      {"an exception raised by the tax-return summation",
       "user7",
       {},
       "",
       false,
       "LEDVIA_FAIL=ClRuleShohizeiShinkoku::SumTax=throw",
       kUnexpected},
  };
  for (const Case& c : cases) {
    fs::remove(Output());
    const std::string database = ChangedDatabase(c.sql);
    HostRun run = Run(c.user, Export(c.choices, Output()), "",
                      "LEDVIA_DATA=" + e2e::Quoted(database) + " " + c.env);
    SCOPED_TRACE(std::string(c.what) + "\n" + run.output);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.Has("lparam=2"));
    EXPECT_EQ(run.BoxCount(), 1);
    EXPECT_TRUE(run.Has(c.message));
    std::optional<std::string> file = e2e::ReadBytes(Output());
    EXPECT_EQ(file.has_value(), c.fileStarted);
    if (file) {
      EXPECT_NE(file->find("<D020114>"), std::string::npos);
      EXPECT_EQ(file->find("</REPORT>"), std::string::npos);
    }
  }
}

// Each edition names itself in SYSTEM and keeps its own remembered-settings file.
TEST_F(ExportRun, EditionsNameThemselves) {
  struct Case {
    const char* edition;
    std::string programName;
    const char* settingsFile;
  };
  const Case cases[] = {
      {"moravel", U8(u8"Ledvia２０ Arvelle"), "Moravel.env"},
      {"tessaly", U8(u8"Ledvia２０"), "Tessaly.env"},
      {"brenwick", U8(u8"Ledvia２０ Tiverno"), "Brenwick.env"},
  };
  for (const Case& c : cases) {
    HostRun run = Run("user7", {"key F12"},
                      "--function-id 42 --output " + e2e::Quoted(Windows(Output())), "", c.edition);
    EXPECT_TRUE(run.Has("wparam=42 lparam=0")) << c.edition << run.output;
    EXPECT_EQ(XPath(Output(), "/REPORT/SYSTEM/PROGRAMNAME"), c.programName);
    EXPECT_EQ(XPath(Output(), "/REPORT/SYSTEM/FUNCTIONID"), "42");
    EXPECT_TRUE(fs::exists(Home() + "/Settings/" + c.settingsFile)) << c.edition;
  }
}

}  // namespace
