// How values and columns look to a person: amounts grouped by thousands, dates and flags in
// words, and rate columns that line up on a terminal where Japanese characters are two
// columns wide.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "report/header_sections.h"
#include "tools/viewer/figure_blocks.h"
#include "tools/viewer/figures_text.h"
#include "tools/viewer/linkage_check.h"
#include "tools/viewer/value_text.h"
#include "winport/encoding.h"

namespace {

const SectionElement* Basic(const std::string& name) {
  for (const SectionElement& element : BasicTable().elements) {
    if (element.name == name) return &element;
  }
  return nullptr;
}

TEST(ShownValue, AmountsDatesAndFlags) {
  const struct {
    const SectionElement* fixed;
    ValueRule rule;
    const char* value;
    const char* shown;
  } cases[] = {
      {nullptr, ValueRule::kYen, "", ""},
      {nullptr, ValueRule::kYen, "100", "100"},
      {nullptr, ValueRule::kYen, "1000", "1,000"},
      {nullptr, ValueRule::kYen, "8580000", "8,580,000"},
      {nullptr, ValueRule::kYen, "-500", "-500"},
      {nullptr, ValueRule::kYen, "-1234567", "-1,234,567"},
      {nullptr, ValueRule::kYen, "999999999999999999", "999,999,999,999,999,999"},
      {nullptr, ValueRule::kYenOrZero, "0", "0"},
      {nullptr, ValueRule::kText, "1000", "1000"},
      {Basic("JIGYOUNENDOFROM"), ValueRule::kDate, "20190401", "2019/04/01"},
      {Basic("JIGYOUNENDOFROM"), ValueRule::kDate, "1", "1"},
      {Basic("KAZEIKUBUN"), ValueRule::kFlag, "1", "1 原則課税"},
      {Basic("KAZEIKUBUN"), ValueRule::kFlag, "2", "2 簡易課税"},
      {Basic("SHIIREZEIGAKUKEISAN"), ValueRule::kFlagOrEmpty, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(viewer::ShownValue(c.fixed, c.rule, c.value), c.shown) << c.value;
  }
  EXPECT_EQ(viewer::Grouped(1020000, true), "+1,020,000");
  EXPECT_EQ(viewer::Grouped(0, true), "0");
}

// Columns on a UTF-8 terminal: a character of the Japanese blocks takes two.
std::size_t TerminalWidth(const std::string& utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? c : c & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) point = (point << 6) | (utf8[i + k] & 0x3F);
    const bool halfWidth = point < 0x1100 || (point >= 0xFF61 && point <= 0xFF9F);
    width += halfWidth ? 1 : 2;
    i += length;
  }
  return width;
}

TEST(FiguresText, RateColumnsLineUpOnATerminal) {
  std::ifstream in(std::string(QL_E2E_GOLDEN_DIR) + "/user1-journal.xml", std::ios::binary);
  const viewer::CheckedFile file = viewer::CheckLinkageFile(in);
  ASSERT_TRUE(file.ok());
  std::istringstream text(winport::Cp932ToUtf8(viewer::FiguresText(viewer::FigureBlocks(file))));
  // Under each rate header, every figure of a row ends where one of the rate names ends.
  int checked = 0;
  std::set<std::size_t> columnEnds;
  for (std::string line; std::getline(text, line);) {
    if (line.find(" 10% ") != std::string::npos) {
      columnEnds.clear();
      for (std::size_t at = line.find_first_not_of(' '); at != std::string::npos;) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        columnEnds.insert(TerminalWidth(line.substr(0, end)));
        at = line.find_first_not_of(' ', end);
      }
      continue;
    }
    if (line.empty()) columnEnds.clear();
    if (columnEnds.empty()) continue;
    // The figures start after the label and the two blanks that follow it.
    for (std::size_t at = line.find_first_not_of(' ', line.find("  ", 2));
         at != std::string::npos;) {
      const std::size_t end = std::min(line.find(' ', at), line.size());
      EXPECT_EQ(columnEnds.count(TerminalWidth(line.substr(0, end))), 1u) << line;
      ++checked;
      at = line.find_first_not_of(' ', end);
    }
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
