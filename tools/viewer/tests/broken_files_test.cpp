// Broken linkage files: each gives its first problem with the line it is on, and the reader
// stops at the first line that leaves the rest unmatched, whatever follows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/viewer/linkage_check.h"
#include "winport/encoding.h"

namespace {

std::string Golden() {
  std::ifstream in(std::string(QL_E2E_GOLDEN_DIR) + "/user1-journal.xml", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < file.size();) {
    const std::size_t end = file.find("\r\n", at);
    lines.push_back(file.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count) {
  std::string file;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) file += lines[i] + "\r\n";
  return file;
}

// Replaces the first `from` in line `number` (1-based).
std::string Edit(const std::string& file, std::size_t number, const std::string& from,
                 const std::string& to) {
  std::vector<std::string> lines = Lines(file);
  std::string& line = lines.at(number - 1);
  line.replace(line.find(from), from.size(), to);
  return Join(lines, lines.size());
}

viewer::Problem First(const std::string& file) {
  std::istringstream in(file);
  const viewer::CheckedFile checked = viewer::CheckLinkageFile(in);
  if (checked.problems.empty()) return {0, "no problem"};
  return checked.problems.front();
}

struct BrokenFile {
  const char* what;
  std::function<std::string(const std::string&)> make;
  int line;
  std::string problem;
};

TEST(BrokenFiles, EachGivesItsFirstProblemWithItsLine) {
  const std::string amount = "円単位の金額（符号と数字だけ、区切りなし）ではありません";
  const std::vector<BrokenFile> cases = {
      {"empty", [](const std::string&) { return std::string(); }, 1,
       "ファイルが空です（連動ファイルではありません）"},
      {"foreign", [](const std::string&) { return std::string("name,amount\r\n"); }, 1,
       "XML 宣言がありません（連動ファイルではありません）"},
      {"declared UTF-8", [](const std::string& f) { return Edit(f, 1, "Shift_JIS", "UTF-8"); }, 1,
       "文字コードの宣言が Shift_JIS ではありません: 「<?xml version=\"1.0\" "
       "encoding=\"UTF-8\"?>」"},
      {"converted to UTF-8", [](const std::string& f) { return winport::Cp932ToUtf8(f); }, 8,
       "UTF-8 の文字があります（連動ファイルは Shift_JIS です）"},
      {"UTF-8 byte-order mark", [](const std::string& f) { return "\xEF\xBB\xBF" + f; }, 1,
       "UTF-8 の BOM があります（連動ファイルは Shift_JIS です）"},
      {"lone lead byte", [](const std::string& f) { return Edit(f, 12, "</KOMON", "\x82</KOMON"); },
       12, "Shift_JIS にない文字があります"},
      {"line feeds only",
       [](const std::string& f) {
         std::string lf;
         for (char c : f) {
           if (c != '\r') lf += c;
         }
         return lf;
       },
       1, "行末が CR LF ではなく LF だけです"},
      {"wrong digit", [](const std::string& f) { return Edit(f, 23, "8580000", "858O000"); }, 23,
       "<KAZEIURIAGEZEINUKI10> の値「858O000」は" + amount},
      {"separators", [](const std::string& f) { return Edit(f, 23, "8580000", "8,580,000"); }, 23,
       "<KAZEIURIAGEZEINUKI10> の値「8,580,000」は" + amount},
      {"leading zero", [](const std::string& f) { return Edit(f, 23, "8580000", "08580000"); }, 23,
       "<KAZEIURIAGEZEINUKI10> の値「08580000」は" + amount},
      {"zero written", [](const std::string& f) { return Edit(f, 23, "8580000", "0"); }, 23,
       "<KAZEIURIAGEZEINUKI10> の値「0」は空のはずです（金額 0 は空で書かれます）"},
      {"flag out of range", [](const std::string& f) { return Edit(f, 16, ">1<", ">3<"); }, 16,
       "<KAZEIKUBUN> の値「3」は1 か 2 のはずです"},
      {"unknown element",
       [](const std::string& f) {
         return Edit(Edit(f, 23, "KAZEIURIAGEZEINUKI10", "URIAGE"), 23, "KAZEIURIAGEZEINUKI10",
                     "URIAGE");
       },
       23,
       "<URIAGE> は連動ファイルにない要素です（ここには <KAZEIURIAGEZEINUKI10> があるはずです）"},
      {"out of order",
       [](const std::string& f) {
         std::vector<std::string> lines = Lines(f);
         std::swap(lines[22], lines[23]);
         return Join(lines, lines.size());
       },
       23,
       "<KAZEIURIAGEZEIGAKU10> の位置が違います（ここには <KAZEIURIAGEZEINUKI10> があるはずです）"},
      {"attribute",
       [](const std::string& f) { return Edit(f, 22, "<D020114>", "<D020114 a=\"1\">"); }, 22,
       "連動ファイルの行の形ではありません: 「\t\t<D020114 a=\"1\">」（<D020114> があるはずです）"},
      {"unescaped ampersand", [](const std::string& f) { return Edit(f, 8, "Arvelle", "A&B"); }, 8,
       "<PROGRAMNAME> の値に読めない & があります: 「Ledvia２０ A&B」"},
      {"indent", [](const std::string& f) { return Edit(f, 4, "\t\t", "\t"); }, 4,
       "<GYOUMUPREFIX> の字下げがタブ 2 個ではありません"},
      {"cut inside a line", [](const std::string& f) { return f.substr(0, f.find("8580000")); }, 23,
       "ファイルが行の途中で終わっています（<KAZEIURIAGEZEINUKI10> があるはずです）"},
      {"no line end at the end", [](const std::string& f) { return f.substr(0, f.size() - 2); },
       static_cast<int>(Lines(Golden()).size()), "最後の行に行末（CR LF）がありません"},
      {"after the end", [](const std::string& f) { return f + "<REPORT>\r\n"; },
       static_cast<int>(Lines(Golden()).size()) + 1, "</REPORT> の後に余分な内容があります"},
  };
  const std::string golden = Golden();
  for (const BrokenFile& c : cases) {
    const viewer::Problem problem = First(c.make(golden));
    EXPECT_EQ(problem.line, c.line) << c.what;
    EXPECT_EQ(problem.text, c.problem) << c.what;
  }
}

// Cut after the declaration, after REPORT and after every end tag: the file is short of the
// start tag that follows there in the whole file.
TEST(BrokenFiles, TruncatedAtEverySectionBoundary) {
  const std::vector<std::string> lines = Lines(Golden());
  int boundaries = 0;
  for (std::size_t kept = 1; kept < lines.size(); ++kept) {
    const std::string& last = lines[kept - 1];
    if (kept > 2 && last.find("</") != last.find_first_not_of('\t')) continue;
    const std::string& next = lines[kept];
    const std::string tag = next.substr(next.find('<'), next.find('>') - next.find('<') + 1);
    const viewer::Problem problem = First(Join(lines, kept));
    EXPECT_EQ(problem.line, static_cast<int>(kept) + 1) << tag;
    EXPECT_EQ(problem.text, "ファイルが途中で終わっています（" + tag + " があるはずです）");
    ++boundaries;
  }
  // Declaration, REPORT, SYSTEM, BASIC, 35 groups, KANPUH, KANPUK, DATA.
  EXPECT_EQ(boundaries, 2 + 2 + 35 + 2 + 1);
}

TEST(BrokenFiles, ManyWrongValuesEndTheCheckAfterTheLimit) {
  std::vector<std::string> lines = Lines(Golden());
  for (std::string& line : lines) {
    const std::size_t close = line.find("></");
    if (close != std::string::npos) line.insert(close + 1, "x");
  }
  std::istringstream in(Join(lines, lines.size()));
  const viewer::CheckedFile checked = viewer::CheckLinkageFile(in);
  ASSERT_EQ(checked.problems.size(), viewer::kMaxProblems + 1);
  EXPECT_EQ(checked.problems.back().text, "問題が多いため、ここで確認をやめました");
}

// 100 MB after a valid head: one endless element, and endless lines of junk. The reader stops
// at the first of them having read little more than one line's limit.
TEST(BrokenFiles, HundredMegabytesAreReadOnlyToTheFirstWrongLine) {
  const std::vector<std::string> lines = Lines(Golden());
  const std::string head = Join(lines, 22);
  const std::size_t size = 100u << 20;
  testsupport::TempFolder folder;
  struct Huge {
    const char* name;
    std::string start;
    std::string filler;
    std::string problem;
  };
  const Huge huge[] = {
      {"endless.xml", "\t\t\t<KAZEIURIAGEZEINUKI10>", std::string(1 << 20, '9'),
       "行が長すぎます（65536 バイトを超えています）"},
      {"junk.xml", "",
       [] {
         std::string junk;
         while (junk.size() < (1 << 20)) junk += "junk junk junk\r\n";
         return junk;
       }(),
       "連動ファイルの行の形ではありません: 「junk junk junk」（<KAZEIURIAGEZEINUKI10> "
       "があるはずです）"},
  };
  for (const Huge& h : huge) {
    const std::string path = folder / h.name;
    {
      std::ofstream out(path, std::ios::binary);
      out << head << h.start;
      for (std::size_t written = head.size(); written < size; written += h.filler.size()) {
        out << h.filler;
      }
    }
    std::ifstream in(path, std::ios::binary);
    const viewer::CheckedFile checked = viewer::CheckLinkageFile(in);
    ASSERT_FALSE(checked.problems.empty()) << h.name;
    EXPECT_EQ(checked.problems.front().line, 23) << h.name;
    EXPECT_EQ(checked.problems.front().text, h.problem) << h.name;
    EXPECT_LT(static_cast<std::size_t>(in.tellg()), 1u << 20) << h.name;
    in.close();
    std::filesystem::remove(path);
  }
}

}  // namespace
