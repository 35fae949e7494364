#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "report_test_support.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"

using reporttest::RecordingOutput;

TEST(EscapeText, EscapesTheFiveSpecialCharactersAndBlanksWhatXmlCannotHold) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"<>&\"'", "&lt;&gt;&amp;&quot;&apos;"},
      {"A&B", "A&amp;B"},
      {"", ""},
      // Double-byte characters pass whole, a 0x5C second byte included (ソ, 表).
      {"\x83\x5C\x95\x5C<", "\x83\x5C\x95\x5C&lt;"},
      {"ﾃｽﾄ 1\\2", "ﾃｽﾄ 1\\2"},
      // Control characters: tab, LF and CR are XML, the others cannot be written at all.
      {std::string("A\x01\x08\x0B\x0C\x1B\x1F\x7F", 8), "A      \x7F"},
      {"\t\n\r", "\t\n\r"},
      // What is no code page 932 character cannot reach the file: the replacement character.
      {"ABC\x81", "ABC\x81\x45"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeText(c.text), c.expected) << c.text;
  // No length limit: 300 ampersands become 1500 bytes, all of them.
  EXPECT_EQ(EscapeText(std::string(300, '&')).size(), 1500u);
}

TEST(ReportWriter, BuildsEachLineWithTabsAndCrLf) {
  RecordingOutput out;
  ReportWriter writer;
  ASSERT_EQ(writer.Open(&out, "C:\\out\\a.xml"), 0);
  EXPECT_EQ(out.openedPath, "C:\\out\\a.xml");
  EXPECT_EQ(writer.WriteRaw(kXmlDeclaration), 1);
  EXPECT_EQ(writer.WriteStartTag("REPORT", 0), 1);
  EXPECT_EQ(writer.WriteElement("GYOUMUPREFIX", "SY31", 2), 1);
  EXPECT_EQ(writer.WriteElement("KAZEIKUBUN", "", 2), 1);
  EXPECT_EQ(writer.WriteElement("KOMONSAKINAME", "A&B", 2), 1);
  EXPECT_EQ(writer.WriteStartTag("X", 1, "a", "1<2", "b", "\""), 1);
  EXPECT_EQ(writer.WriteStartTag("Y", 1, "a", nullptr, "b", "2"), 1);  // attribute 1 absent
  EXPECT_EQ(writer.WriteElement("Z", "v", 3, "a", "'", nullptr, "x"), 1);
  EXPECT_EQ(writer.WriteEndTag("REPORT", 0), 1);
  const std::vector<std::string> expected = {
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n",
      "<REPORT>\r\n",
      "\t\t<GYOUMUPREFIX>SY31</GYOUMUPREFIX>\r\n",
      "\t\t<KAZEIKUBUN></KAZEIKUBUN>\r\n",
      "\t\t<KOMONSAKINAME>A&amp;B</KOMONSAKINAME>\r\n",
      "\t<X a=\"1&lt;2\" b=\"&quot;\">\r\n",
      "\t<Y>\r\n",
      "\t\t\t<Z a=\"&apos;\">v</Z>\r\n",
      "</REPORT>\r\n",
  };
  EXPECT_EQ(out.lines, expected);
  // A value of any length is written whole, in one write.
  const std::string longValue(1000, '<');
  EXPECT_EQ(writer.WriteElement("LONG", longValue, 2), 1);
  EXPECT_EQ(out.lines.back().size(), 2 + 6 + 4000 + 7 + 2u);
}

TEST(ReportWriter, AFailedWriteClosesTheOutputAndEveryLaterLineFails) {
  RecordingOutput out(/*failAt=*/1);
  ReportWriter writer;
  writer.Open(&out, "a.xml");
  EXPECT_EQ(writer.WriteStartTag("REPORT", 0), 1);
  EXPECT_EQ(writer.WriteElement("A", "1", 1), 0);
  EXPECT_FALSE(out.IsOpen());  // closed at the failure, not only when the writer is released
  // The device would accept these, but the file stays closed.
  EXPECT_EQ(writer.WriteElement("B", "2", 1), 0);
  EXPECT_EQ(writer.WriteEndTag("REPORT", 0), 0);
  EXPECT_EQ(writer.WriteRaw("x"), 0);
  EXPECT_EQ(out.lines, std::vector<std::string>{"<REPORT>\r\n"});
  EXPECT_EQ(writer.Open(nullptr, "a.xml"), -1);
  EXPECT_EQ(writer.Open(&out, nullptr), -1);
}

TEST(Win32FileOutput, CreatesTruncatesAndKeepsOthersOut) {
  testsupport::TempFolder folder;
  const std::string linuxPath = folder.WriteFile("out.xml", std::string(100, 'x'));
  const std::string path = testsupport::WindowsPath(linuxPath);
  {
    Win32FileOutput file;
    ReportWriter writer;
    writer.Open(&file, path.c_str());
    EXPECT_EQ(writer.WriteStartTag("REPORT", 0), 1);
    // Opened without sharing: nobody else may open it while it is written.
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_EQ(writer.WriteEndTag("REPORT", 0), 1);
  }  // releasing the writer closes the file
  std::ifstream in(linuxPath, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "<REPORT>\r\n</REPORT>\r\n");

  // A path that cannot be opened fails the first line.
  Win32FileOutput missing;
  ReportWriter writer;
  const std::string bad = testsupport::WindowsPath(folder.path()) + "\\no\\such\\a.xml";
  EXPECT_EQ(writer.Open(&missing, bad.c_str()), 0);
  EXPECT_EQ(writer.WriteRaw(kXmlDeclaration), 0);
}
