// The ledvia-db command, run as a person or script would run it.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/company_fixture.h"

namespace ledvia::testing {
namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class LedviaDbToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("QL_BIN_DIR");
    if (bin == nullptr) GTEST_SKIP() << "QL_BIN_DIR not set (run through ctest)";
    tool_ = std::string(bin) + "/ledvia-db";
  }
  // Arguments are test-made paths and words without quotes or spaces. `limit` wraps the command
  // in a shell that limits what it may write (ulimit -f, in 512-byte blocks).
  ToolRun Tool(const std::string& args, const std::string& limit = "") {
    return Run(tool_ + " " + args, limit);
  }
  ToolRun Run(const std::string& command, const std::string& limit = "") {
    std::string out = outputs_.File("out.txt");
    std::string err = outputs_.File("err.txt");
    ToolRun run;
    std::string line = command + " >" + out + " 2>" + err;
    // A write past the limit fails with EFBIG instead of killing the process, as on a full disk.
    if (!limit.empty()) line = "sh -c 'ulimit -f " + limit + "; trap \"\" XFSZ; exec " + line + "'";
    int raw = std::system(line.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
  }
  // Every file in the test's folder, with its contents (or its kind when it is not a file).
  std::map<std::string, std::string> FolderContents() {
    std::map<std::string, std::string> contents;
    for (const auto& item : std::filesystem::directory_iterator(folder_.File(""))) {
      std::string name = item.path().filename().string();
      if (item.is_symlink()) {
        contents[name] = "link to " + std::filesystem::read_symlink(item.path()).string();
      } else if (item.is_regular_file()) {
        contents[name] = ReadAll(item.path().string());
      } else {
        contents[name] = item.is_directory() ? "folder" : "other";
      }
    }
    return contents;
  }

  TempFolder folder_;
  TempFolder outputs_;
  std::string tool_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

TEST_F(LedviaDbToolTest, SampleAndListing) {
  std::string db = folder_.File("sample.db");
  ToolRun written = Tool("sample " + db);
  ASSERT_EQ(written.status, 0) << written.err;
  ToolRun listed = Tool("list " + db);
  ASSERT_EQ(listed.status, 0) << listed.err;
  std::vector<std::string> lines = Lines(listed.out);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0].rfind("data\tcompany\t", 0), 0u) << lines[0];
  // UTF-8 on the terminal, whatever the program's own code page; the user whose selection
  // opens the data last.
  const std::string first = reinterpret_cast<const char*>(
      u8"1\t株式会社ルミナ商事\t20190401-20200331\tgeneral\tcorporation\tnormal\tuser1");
  EXPECT_EQ(lines[1], first);
  EXPECT_NE(lines[5].find("\tpast-results\tuser5"), std::string::npos) << lines[5];
  EXPECT_NE(lines[6].find("normal,interim"), std::string::npos);
  EXPECT_NE(lines[3].find("sole-proprietor"), std::string::npos);
  EXPECT_NE(lines[4].find("exempt"), std::string::npos);
  EXPECT_NE(lines[10].find("sole-proprietor"), std::string::npos);  // entity kind 4
  EXPECT_EQ(lines[12].substr(lines[12].rfind('\t') + 1), "user12");
}

// One number answered by `sql` on the database at `path`.
std::int64_t Query(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
  std::int64_t value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return value;
}

TEST_F(LedviaDbToolTest, GeneratedCompanyHasWhatAnExportReads) {
  const struct {
    const char* options;
    int departments, entityKind, interimMonths;
  } cases[] = {
      {"", 0, 0, 3},
      {"--sole-proprietor --departments 7 --tax-inclusive", 7, 3, 0},
  };
  for (const auto& c : cases) {
    std::string db = folder_.File("big.db");
    ToolRun written = Tool("generate --entries 3000 " + std::string(c.options) + " " + db);
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string sides =
        "(SELECT debit_category AS category, rate, reduced FROM journal UNION ALL "
        "SELECT credit_category, rate, reduced FROM journal)";
    const struct {
      std::string what;
      std::string sql;
      std::int64_t expected;
    } facts[] = {
        {"entries", "SELECT COUNT(*) FROM journal", 3000},
        {"entity kind", "SELECT entity_kind FROM data", c.entityKind},
        // Every category the business core knows, and the unsummed ones: 0, 1-10, 21-45.
        {"categories", "SELECT COUNT(DISTINCT category) FROM " + sides, 36},
        {"rate slots", "SELECT COUNT(DISTINCT rate * 10 + reduced) FROM journal", 5},
        {"months 1 to 12",
         "SELECT COUNT(DISTINCT month_index) FROM journal WHERE month_index <= 12", 12},
        {"year-end adjustments", "SELECT COUNT(*) FROM journal WHERE month_index = 18", 3},
        {"interim adjustments", "SELECT COUNT(*) FROM journal WHERE month_index = 15",
         c.interimMonths},
        {"business types", "SELECT COUNT(DISTINCT business_type) FROM journal", 7},
        {"accounts, about 200", "SELECT COUNT(*) / 10 FROM accounts", 20},
        {"total accounts", "SELECT COUNT(*) FROM accounts WHERE total_flag = 1", 4},
        {"departments", "SELECT COUNT(*) FROM departments", c.departments},
        {"department kinds and categories",
         "SELECT COUNT(DISTINCT kind * 10 + income_category) FROM departments",
         c.departments > 0 ? 6 : 0},
        {"entries without a department",
         "SELECT COUNT(*) FROM journal WHERE debit_dept = 0 OR credit_dept = 0",
         c.departments > 0 ? 0 : 3000},
        {"asset kinds", "SELECT COUNT(DISTINCT kind) FROM fixed_assets", 3},
        {"assets bought before the period",
         "SELECT COUNT(*) > 0 FROM fixed_assets, data WHERE date < period_start", 1},
    };
    for (const auto& fact : facts) {
      EXPECT_EQ(Query(db, fact.sql), fact.expected) << fact.what << " with " << c.options;
    }
  }
  // The same arguments give the same company.
  const std::string digest =
      "SELECT SUM((entry_no * 7 + debit_account * 11 + credit_account * 13 + debit_amount % 1009 "
      "+ credit_tax % 1013 + debit_category * 17 + rate + debit_dept) % 1000003) FROM journal";
  std::int64_t sums[2];
  for (std::int64_t& sum : sums) {
    std::string db = folder_.File("again.db");
    ASSERT_EQ(Tool("generate --entries 2000 --departments 3 " + db).status, 0);
    sum = Query(db, digest);
  }
  EXPECT_EQ(sums[0], sums[1]);
}

// What is at PATH stays as it is unless it is a company database; a new database replaces one
// whole, or not at all.
TEST_F(LedviaDbToolTest, WritingReplacesOnlyCompanyDatabasesAndNeverLeavesAPart) {
  std::string notes = folder_.File("notes.txt");
  std::ofstream(notes) << "a person's notes\n";
  std::string pipe = folder_.File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::string link = folder_.File("link.db");
  std::filesystem::create_symlink(notes, link);
  std::string sub = folder_.File("sub");
  std::filesystem::create_directory(sub);
  std::string empty = folder_.File("empty.db");
  std::ofstream(empty).close();
  std::string company = folder_.File("company.db");
  ASSERT_EQ(Tool("sample " + company).status, 0);
  // A link is someone's, even one to a company database: replacing it would cut the link.
  std::string companyLink = folder_.File("company-link.db");
  std::filesystem::create_symlink(company, companyLink);
  const std::map<std::string, std::string> before = FolderContents();
  const struct {
    std::string args;
    std::string limit;
  } refused[] = {
      {"sample " + notes, ""},
      {"sample " + pipe, ""},
      {"sample " + link, ""},
      {"sample " + companyLink, ""},
      {"sample " + sub, ""},
      {"sample " + empty, ""},
      {"generate --entries 5 " + notes, ""},
      {"export " + company + " " + notes, ""},
      {"sample ''", ""},
      // The disk fills while the new database is written over the old one.
      {"generate --entries 50000 " + company, "256"},
  };
  for (const auto& c : refused) {
    ToolRun run = Tool(c.args, c.limit);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(Lines(run.err).size(), 1u) << c.args << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.args;
    EXPECT_TRUE(FolderContents() == before) << c.args;
  }
  // A company database is replaced, whole, from a file written beside it: the temporary
  // folder (here one that does not exist) may be another file system, where no rename reaches.
  ToolRun replaced =
      Run("TMPDIR=/nonexistent-ql-tmp " + tool_ + " generate --entries 10 " + company);
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(Lines(Tool("list " + company).out).size(), 2u);  // the header and data 1
  EXPECT_EQ(FolderContents().size(), before.size());
}

// The example set with one file replaced by `text`, in a folder of its own.
std::string ExampleWith(const TempFolder& folder, const std::string& file,
                        const std::string& text) {
  for (const auto& item : std::filesystem::directory_iterator(QL_LEDVIA_EXAMPLES_DIR)) {
    std::filesystem::copy_file(item.path(), folder.File(item.path().filename().string()),
                               std::filesystem::copy_options::overwrite_existing);
  }
  if (!file.empty()) std::ofstream(folder.File(file), std::ios::binary) << text;
  return folder.File("");
}

// Each broken input gets its first problem as FILE:LINE:COLUMN: reason, and no file is left.
TEST_F(LedviaDbToolTest, ImportRefusesBrokenCsvAndWritesNothing) {
  const std::string header =
      "date,month,debit_account,debit_amount,credit_account,credit_amount,summary\n";
  const std::string good = "2020/04/10,,130,1100,400,1100,";
  const std::string u8sale = reinterpret_cast<const char*>(u8"売上");
  const struct {
    std::string file, text, expected;  // the expected first line after "FOLDER/"
  } cases[] = {
      {"journal.csv", header + good + u8sale + "\n" + good + "売上\n",  // UTF-8, then Shift_JIS
       "journal.csv:3:31: text not in UTF-8, which line 2 is (one file, one encoding)"},
      {"journal.csv", "date,month,debit_account,credit_account,credit_amount\n",
       "journal.csv:1:1: no column 'debit_amount', which journal.csv needs"},
      {"journal.csv", header + "2020/04/10,,130,1100,400\n",
       "journal.csv:2:22: 5 fields where the first line names 7 columns"},
      {"journal.csv", header + "2020/04/10,,999,1100,400,1100,x\n",
       "journal.csv:2:13: debit_account: account 999 is not in the chart of data 1 (accounts.csv)"},
      {"journal.csv", header + "2020/02/30,,130,1100,400,1100,x\n",
       "journal.csv:2:1: date: no such day: 2020/02/30"},
      {"journal.csv", header + "2021/04/01,,130,1100,400,1100,x\n",
       "journal.csv:2:1: date 2021/04/01 outside the period of data 1 (2020/04/01 to 2021/03/31)"},
      {"journal.csv", header + "2020/04/10,13,130,1100,400,1100,x\n",
       "journal.csv:2:12: month 13: months are 1 to 12, 15 (interim adjustment) or 18 (year-end "
       "adjustment)"},
      {"journal.csv", header + good + "\"no end\n" + good + "x\n",
       "journal.csv:2:31: the quote opened here is never closed"},
      {"journal.csv", header + "2020/04/10,,130,1100.12345,400,1100,x\n",
       "journal.csv:2:17: debit_amount: an amount with more than four decimals"},
      {"journal.csv", header + "2020/04/10,,130,100000000000000,400,1100,x\n",
       "journal.csv:2:17: debit_amount: an amount of 10^14 yen or more, which a linkage file "
       "cannot hold"},
      {"journal.csv", "", "journal.csv:1:1: an empty file; its first line names the columns"},
      {"accounts.csv", "code,name,normal_side,class_code,colour\n",
       "accounts.csv:1:34: unknown column 'colour'; the columns are data code code_text name "
       "parent normal_side class_code total excluded skip126 skip128"},
  };
  std::string db = folder_.File("imported.db");
  for (const auto& c : cases) {
    TempFolder csv;
    std::string from = ExampleWith(csv, c.file, c.text);
    ToolRun run = Tool("import " + from + " " + db);
    EXPECT_EQ(run.status, 1) << c.expected;
    std::vector<std::string> lines = Lines(run.err);
    ASSERT_FALSE(lines.empty()) << c.expected;
    EXPECT_EQ(lines[0], from + c.expected);
    EXPECT_TRUE(FolderContents().empty()) << c.expected;
  }
  // Twenty bad lines are listed, the rest counted.
  TempFolder csv;
  std::string many = header;
  for (int i = 0; i < 25; ++i) many += "2020/04/10,99,130,1,400,1,x\n";
  ToolRun run = Tool("import " + ExampleWith(csv, "journal.csv", many) + " " + db);
  std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 22u) << run.err;
  EXPECT_EQ(lines[19].substr(lines[19].find("journal.csv:")),
            "journal.csv:21:12: month 99: months "
            "are 1 to 12, 15 (interim adjustment) or 18 (year-end adjustment)");
  EXPECT_EQ(lines[20], "... and 5 more bad lines");
  // The example set itself imports, and the export of that gives the same files again.
  ToolRun imported = Tool("import " + ExampleWith(csv, "", "") + " " + db);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "imported 1 company data and 7 journal entries into " + db + "\n");
  std::string exported = outputs_.File("exported");
  ASSERT_EQ(Tool("export " + db + " " + exported).status, 0);
  TempFolder again;
  ASSERT_EQ(Tool("import " + exported + " " + again.File("again.db")).status, 0);
  ASSERT_EQ(Tool("export " + again.File("again.db") + " " + again.File("csv")).status, 0);
  for (const char* name : {"company.csv", "users.csv", "accounts.csv", "departments.csv",
                           "journal.csv", "assets.csv", "saved_figures.csv"}) {
    EXPECT_EQ(ReadAll(again.File("csv/") + name), ReadAll(exported + "/" + name)) << name;
  }
}

// A Shift_JIS set with awkward values: the import reads them, and its export writes them as
// RFC 4180 UTF-8 that reads back to the same values (a summary with a comma, quotes and a line
// break; a negative amount; the smallest fraction of a yen).
TEST_F(LedviaDbToolTest, AwkwardValuesSurviveImportAndExport) {
  TempFolder csv;
  // Ordinary literals are code page 932 here.
  std::string from =
      ExampleWith(csv, "journal.csv",
                  "date,debit_account,debit_amount,credit_account,credit_amount,summary\r\n"
                  "20200410,130,-1.5,400,0.0001,\"売上, \"\"特別\"\"\r\n二行目\"\r\n");
  std::string db = folder_.File("awkward.db");
  ToolRun imported = Tool("import " + from + " " + db);
  ASSERT_EQ(imported.status, 0) << imported.err;
  std::string exported = outputs_.File("awkward");
  ASSERT_EQ(Tool("export " + db + " " + exported).status, 0);
  std::string journal = ReadAll(exported + "/journal.csv");
  EXPECT_EQ(journal.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_NE(journal.find(",-1.5,"), std::string::npos) << journal;
  EXPECT_NE(journal.find(",0.0001,"), std::string::npos) << journal;
  const std::string summary = reinterpret_cast<const char*>(u8"\"売上, \"\"特別\"\"\r\n二行目\"");
  EXPECT_NE(journal.find(summary), std::string::npos) << journal;
  TempFolder again;
  ASSERT_EQ(Tool("import " + exported + " " + again.File("again.db")).status, 0);
  ASSERT_EQ(Tool("export " + again.File("again.db") + " " + again.File("csv")).status, 0);
  EXPECT_EQ(ReadAll(again.File("csv/journal.csv")), journal);
}

TEST_F(LedviaDbToolTest, EveryToolAnswersHelp) {
  const char* bin = std::getenv("QL_BIN_DIR");
  for (const char* tool :
       {"ledvia-db", "ledvia-host", "winport-post", "winport-path", "dialog_demo", "tessaly"}) {
    ToolRun run = Run(std::string(bin) + "/" + tool + " --help");
    EXPECT_EQ(run.status, 0) << tool;
    EXPECT_EQ(run.out.rfind(std::string("usage: ") + tool, 0), 0u) << tool << ": " << run.out;
    EXPECT_TRUE(run.err.empty()) << tool << ": " << run.err;
  }
}

TEST_F(LedviaDbToolTest, BadInputGetsOneLineAndAFailingExit) {
  std::string notDb = folder_.File("notes.txt");
  std::ofstream(notDb) << "just some text\n";
  std::string emptyDb = folder_.File("empty.db");
  std::ofstream(emptyDb).close();
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"list " + folder_.File("missing.db"), 1},
      {"list " + notDb, 1},
      {"list " + emptyDb, 1},
      {"generate --entries 12x " + folder_.File("g.db"), 1},
      {"generate --entries -5 " + folder_.File("g.db"), 1},
      {"generate --entries 999999999999 " + folder_.File("g.db"), 1},
      {"generate --entries  " + folder_.File("g.db"), 2},
      {"sample " + folder_.File("no/such/folder/s.db"), 1},
      {"", 2},
      {"frobnicate x", 2},
  };
  for (const auto& c : cases) {
    ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_EQ(Lines(run.err).size(), 1u) << c.args << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << c.args;
  }
}

}  // namespace
}  // namespace ledvia::testing
