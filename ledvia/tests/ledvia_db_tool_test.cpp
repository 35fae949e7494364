// The ledvia-db command, run as a person or script would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "accounting/ClRuleShiwake.h"
#include "ledvia/tests/company_fixture.h"

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
  // Arguments are test-made paths and words without quotes or spaces.
  ToolRun Tool(const std::string& args) {
    std::string out = folder_.File("out.txt");
    std::string err = folder_.File("err.txt");
    ToolRun run;
    int raw = std::system((tool_ + " " + args + " >" + out + " 2>" + err).c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
  }
  TempFolder folder_;
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
  ASSERT_EQ(lines.size(), 7u);
  // UTF-8 on the terminal, whatever the program's own code page.
  const std::string first = reinterpret_cast<const char*>(
      u8"1\t株式会社ルミナ商事\t20190401-20200331\tgeneral\tcorporation\tnormal");
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[4].substr(lines[4].rfind('\t') + 1), "past-results");
  EXPECT_NE(lines[5].find("normal,interim"), std::string::npos);
  EXPECT_NE(lines[2].find("sole-proprietor"), std::string::npos);
  EXPECT_NE(lines[3].find("exempt"), std::string::npos);
}

TEST_F(LedviaDbToolTest, GeneratedCompanyHasTheEntriesAskedFor) {
  std::string db = folder_.File("big.db");
  ToolRun written = Tool("generate --entries 1200 " + db);
  ASSERT_EQ(written.status, 0) << written.err;
  ASSERT_EQ(OpenCompanyDatabase(db), 0);
  ScopedUser user("user1");
  ClRuleShiwake rule;
  int count = 0;
  EXPECT_EQ(rule.GetSwkCount(nullptr, nullptr, &count), 0);
  EXPECT_EQ(count, 1200);
  // Twelve months, a hundred entries each.
  StFINDINFO month;
  std::memset(&month, 0, sizeof month);
  SetFindCondition(month, kFindItemMonth, 0, kFindOpEqual, kFindValueMonth, 12);
  EXPECT_EQ(rule.GetSwkCount(&month, nullptr, &count), 0);
  EXPECT_EQ(count, 100);
  CloseCompanyDatabase();
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
