// The viewer on the committed golden files: each passes the check and shows its figures; the
// two user1 files (journal and saved figures) differ in exactly the elements whose lines
// differ; the program's exit statuses and the page it draws.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/shell.h"
#include "tests/support/temp_folder.h"
#include "tools/viewer/comparison.h"
#include "tools/viewer/figure_blocks.h"
#include "tools/viewer/figures_text.h"
#include "tools/viewer/file_layout.h"
#include "tools/viewer/linkage_check.h"
#include "tools/viewer/value_text.h"

namespace {

const std::string kE2e = QL_E2E_GOLDEN_DIR;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

viewer::CheckedFile Checked(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return viewer::CheckLinkageFile(in);
}

std::vector<std::string> Goldens() {
  std::vector<std::string> files;
  for (const char* dir : {QL_E2E_GOLDEN_DIR, QL_GOLDEN_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.path().extension() == ".xml") files.push_back(entry.path());
    }
  }
  return files;
}

// Every golden passes, and every amount it holds is shown, grouped by thousands.
TEST(ViewerOnGoldens, EachPassesAndShowsEveryAmount) {
  const std::vector<std::string> files = Goldens();
  ASSERT_EQ(files.size(), 14u);
  for (const std::string& path : files) {
    const viewer::CheckedFile file = Checked(path);
    ASSERT_TRUE(file.ok()) << path << ":" << file.problems.front().line;
    const std::string shown = viewer::FiguresText(viewer::FigureBlocks(file));
    std::istringstream lines(Read(path));
    int amounts = 0;
    for (std::string line; std::getline(lines, line);) {
      const std::size_t open = line.find('>');
      const std::size_t close = line.find("</", open);
      if (close == std::string::npos || close == open + 1) continue;
      const std::string value = line.substr(open + 1, close - open - 1);
      if (value.find_first_not_of("-0123456789") != std::string::npos || value.size() > 7) {
        continue;  // texts, and dates that are shown as dates
      }
      EXPECT_NE(shown.find(viewer::Grouped(std::stoll(value))), std::string::npos)
          << path << ": " << line;
      ++amounts;
    }
    EXPECT_GT(amounts, 0) << path;
  }
}

TEST(ViewerOnGoldens, TheTwoUser1FilesDifferInTheElementsOfTheirDifferingLines) {
  const std::string journal = Read(kE2e + "/user1-journal.xml");
  const std::string saved = Read(kE2e + "/user1-saved.xml");
  std::istringstream a(journal), b(saved);
  std::set<std::string> expected;
  for (std::string x, y; std::getline(a, x) && std::getline(b, y);) {
    if (x != y) expected.insert(x.substr(x.find('<') + 1, x.find('>') - x.find('<') - 1));
  }
  const viewer::CheckedFile before = Checked(kE2e + "/user1-journal.xml");
  const viewer::CheckedFile after = Checked(kE2e + "/user1-saved.xml");
  std::multiset<std::string> listed;
  for (const viewer::Difference& d : viewer::Compare(before, after)) {
    listed.insert(viewer::Layout().lines[d.index].name);
  }
  // The same name in two groups (the exempt sales of S1 and S5) is one line name here.
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected);
  EXPECT_GT(expected.size(), 20u);
  EXPECT_TRUE(viewer::Compare(before, before).empty());
}

struct ProgramRun {
  const char* what;
  std::string arguments;
  int exitCode;
  std::string printed;  // UTF-8, part of standard output and error
};

TEST(ViewerProgram, ExitStatusesAndWhatItPrints) {
  const char* bin = std::getenv("QL_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  testsupport::TempFolder folder;
  const std::string broken = folder.WriteFile("broken.xml", "<?xml?>\r\n");
  const std::string journal = kE2e + "/user1-journal.xml";
  const std::string page = folder / "page.html";
  const std::vector<ProgramRun> runs = {
      {"show", journal, 0, testsupport::Utf8(u8"課税売上 税抜")},
      {"check", "--check " + journal, 0, testsupport::Utf8(u8": 問題はありません")},
      {"compare", "--compare " + journal + " " + kE2e + "/user1-saved.xml", 1,
       testsupport::Utf8(u8"<KAZEIURIAGEZEINUKI10>: 8,580,000 → 9,600,000（差 +1,020,000）")},
      {"compare equal", "--compare " + journal + " " + journal, 0,
       testsupport::Utf8(u8"違いはありません")},
      {"broken", broken, 2, broken + ":1: "},
      {"missing", folder / "none.xml", 2, testsupport::Utf8(u8"ファイルを開けません")},
      {"html", "--html " + page + " " + journal, 0, page},
      {"help", "--help", 0, "--compare A B"},
      {"no arguments", "", 2, "--html OUT FILE"},
  };
  for (const ProgramRun& run : runs) {
    const testsupport::ShellRun result =
        testsupport::Shell(std::string(bin) + "/linkage-viewer " + run.arguments + " 2>&1");
    EXPECT_EQ(result.exitCode, run.exitCode) << run.what << "\n" << result.output;
    EXPECT_TRUE(result.Has(run.printed)) << run.what << "\n" << result.output;
  }
  // Self-contained: nothing to fetch, no script; the SVG namespace is the one address.
  const std::string html = Read(page);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("http"), html.find("http://www.w3.org/2000/svg"));
  EXPECT_NE(html.find("<svg"), std::string::npos);
}

}  // namespace
