#include "winport/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"
#include "winport/drive_map.h"
#include "winport/files.h"

namespace {

// The profile the Windows answers below were taken with.
const std::string kIni =
    "[Main]\r\nnum=2x\r\nempty=\r\n  spaced =  a b  \r\nquoted=\"q v\"\r\nsquoted='s'\r\n"
    "halfq=\"abc\r\ninl=5 ; note\r\ndup=1\r\ndup=2\r\nneg=-5\r\nhex=0x1A\r\n"
    "sjis=\x95\x5C\x8E\xA6\r\n;com=1\r\n[Other]\r\nk=1\r\n";

class ProfileTest : public ::testing::Test {
 protected:
  ProfileTest() : maps_(testsupport::DriveCOn(temp_)) { temp_.WriteFile("t.ini", kIni); }

  testsupport::TempFolder temp_;
  testsupport::DriveMapGuard maps_;
};

TEST_F(ProfileTest, StringsMatchWindows) {
  const char* kFile = "C:\\t.ini";
  const struct {
    const char* section;
    const char* key;
    const char* fallback;
    DWORD size;
    const char* file;
    std::string expected;  // the bytes up to the result length
  } cases[] = {
      {"Main", "num", "2", 256, "C:\\missing.ini", "2"},
      {"Nosec", "num", "2", 256, kFile, "2"},
      {"Main", "nokey", "2", 256, kFile, "2"},
      {"Main", "empty", "2", 256, kFile, ""},
      {"Main", "num", "2", 256, kFile, "2x"},
      {"Main", "spaced", "2", 256, kFile, "a b"},
      {"main", " SPACED ", "2", 256, kFile, "a b"},
      {"Main", "quoted", "", 256, kFile, "q v"},
      {"Main", "squoted", "", 256, kFile, "s"},
      {"Main", "halfq", "", 256, kFile, "\"abc"},
      {"Main", "inl", "", 256, kFile, "5 ; note"},
      {"Main", "dup", "", 256, kFile, "1"},
      {"Main", ";com", "d", 256, kFile, "1"},
      {"Main", "nokey", "d  ", 256, kFile, "d"},
      {"Main", "nokey", "\"d\"", 256, kFile, "d"},
      {"Main", "nokey", "'d e'  ", 256, kFile, "d e"},
      {"Main", "nokey", nullptr, 256, kFile, ""},
      {"Main", "spaced", "", 3, kFile, "a "},
      {"Main", "spaced", "", 1, kFile, ""},
      {"Main", "sjis", "", 256, kFile, "\x95\x5C\x8E\xA6"},
      {"Main", "sjis", "", 4, kFile, "\x95\x5C"},  // cut before a split character
      {"Main", "sjis", "", 2, kFile, ""},
      {"Main", "nokey", "abcd", 3, kFile, "ab"},
      {"Main", nullptr, "", 256, kFile,
       std::string("num\0empty\0spaced\0quoted\0squoted\0halfq\0inl\0dup\0dup\0neg\0hex\0sjis\0",
                   63)},
      {nullptr, nullptr, "", 256, kFile, std::string("Main\0Other\0", 11)},
      {"Main", nullptr, "", 10, kFile, std::string("num\0empt", 8)},
      {nullptr, nullptr, "", 7, kFile, std::string("Main\0", 5)},
      {"Nosec", nullptr, "dflt", 256, kFile, "dflt"},  // no keys: the default
  };
  for (const auto& c : cases) {
    char buffer[300];
    std::memset(buffer, '#', sizeof buffer);
    DWORD length = GetPrivateProfileStringA(c.section, c.key, c.fallback, buffer, c.size, c.file);
    std::string label = std::string(c.section ? c.section : "(null)") + "/" +
                        (c.key ? c.key : "(null)") + " size " + std::to_string(c.size);
    ASSERT_EQ(length, c.expected.size()) << label;
    EXPECT_EQ(std::string(buffer, length), c.expected) << label;
    EXPECT_EQ(buffer[length], '\0') << label;
    if (c.key == nullptr && *c.fallback == '\0') {
      // A list ends with two NULs, also when it was cut.
      EXPECT_LE(std::string(buffer, length + 2).find(std::string(2, '\0')), length) << label;
    }
    EXPECT_LE(length + 1, c.size) << label;
  }
}

TEST_F(ProfileTest, IntegersMatchWindows) {
  const struct {
    const char* key;
    int fallback;
    const char* file;
    int expected;
  } cases[] = {
      {"num", 7, "C:\\t.ini", 2},  {"empty", 7, "C:\\t.ini", 7},     {"nokey", 2, "C:\\t.ini", 2},
      {"neg", 7, "C:\\t.ini", -5}, {"hex", 7, "C:\\t.ini", 26},      {"spaced", 7, "C:\\t.ini", 0},
      {"inl", 7, "C:\\t.ini", 5},  {"num", 7, "C:\\missing.ini", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Main", c.key, c.fallback, c.file)),
              c.expected)
        << c.key;
  }
}

TEST_F(ProfileTest, MissingFileSaysSoAndBareNamesLiveInTheWindowsFolder) {
  char buffer[32];
  SetLastError(0);
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "d", buffer, sizeof buffer, "C:\\none.ini"), 1u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // A bare name is not looked for in the current directory but in the Windows folder.
  temp_.MakeFolder("windows");
  temp_.MakeFolder("work");
  temp_.WriteFile("windows/w.ini", "[S]\r\nk=in windows dir\r\n");
  temp_.WriteFile("work/w.ini", "[S]\r\nk=in current dir\r\n");
  testsupport::CurrentDirectoryGuard cwd;
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\work"));
  testsupport::EnvGuard windir("WINPORT_WINDIR", "C:\\Windows");
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, sizeof buffer, "w.ini"), 14u);
  EXPECT_STREQ(buffer, "in windows dir");
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, sizeof buffer, ".\\w.ini"), 14u);
  EXPECT_STREQ(buffer, "in current dir");
}

TEST_F(ProfileTest, LayoutOddities) {
  // Keys before any section, a section name whose second byte is ']' (ゾ is 0x83 0x5D), a line
  // without '=', equal section names, a UTF-8 byte-order mark.
  temp_.WriteFile("odd.ini",
                  "top=1\n[\x83\x5D]\nname\nk = v \n[Main]\nk=first\n[main]\nk=second\nother=x\n");
  temp_.WriteFile("bom.ini", testsupport::Utf8(u8"\uFEFF[S]\nk=表\n"));
  const struct {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"C:\\odd.ini", "\x83\x5D", "k", "v"},
      {"C:\\odd.ini", "\x83\x5D", "name", "dflt"},  // a name without '=' has no value
      {"C:\\odd.ini", "Main", "k", "first"},
      {"C:\\odd.ini", "Main", "other", "dflt"},  // only the first of equal sections is read
      {"C:\\odd.ini", "", "top", "1"},
      {"C:\\bom.ini", "S", "k", "\x95\x5C"},
  };
  for (const auto& c : cases) {
    char buffer[32];
    GetPrivateProfileStringA(c.section, c.key, "dflt", buffer, sizeof buffer, c.file);
    EXPECT_STREQ(buffer, c.expected) << c.file << " " << c.key;
  }
  char list[64];
  DWORD length = GetPrivateProfileStringA(nullptr, nullptr, "", list, sizeof list, "C:\\odd.ini");
  EXPECT_EQ(std::string(list, length), std::string("\x83\x5D\0Main\0main\0", 13));
}

// Section and key names, key lists and buffers that a list exactly fills, as the oracle answered.
TEST_F(ProfileTest, NamesAndListsMatchWindows) {
  temp_.WriteFile("e.ini", "top=0\r\n[]\r\nk=1\r\n[ Name ]\r\nk=2\r\n[\tTab\t]\r\n[ ]\r\nk=3\r\n");
  temp_.WriteFile("k.ini",
                  "[S]\r\nbare\r\nk=1\r\n=v\r\n;c=2\r\n  spaced key  = z\r\nk\r\nk=2\r\n"
                  "[Bare]\r\nbare\r\n[Empty first]\r\n=v\r\nk=1\r\n[Late]\r\nk\r\nk=1\r\n");
  temp_.WriteFile("f.ini", "[ab]\r\nx=1\r\ny=2\r\n[cd]\r\n");
  const struct {
    const char* file;
    const char* section;
    const char* key;
    DWORD size;
    std::string expected;
  } cases[] = {
      {"e.ini", "", "top", 64, "0"},    // "" is the lines before the first section
      {"e.ini", "", "k", 64, "d"},      // never the "[]" section
      {"e.ini", " ", "k", 64, "d"},     // nor "[ ]"
      {"e.ini", "Name", "k", 64, "2"},  // blanks inside the brackets are not the name
      {"e.ini", " name ", "k", 64, "2"},
      {"e.ini", nullptr, nullptr, 64, std::string("Name\0Tab\0", 9)},
      {"k.ini", "S", nullptr, 64, std::string("k\0\0spaced key\0k\0", 16)},
      {"k.ini", "S", "", 64, "v"},  // a key with an empty name
      {"k.ini", "S", "k", 64, "1"},
      {"k.ini", "Bare", nullptr, 64, "d"},         // no key with a value: the default
      {"k.ini", "Empty first", nullptr, 64, "d"},  // the list reads as empty
      {"k.ini", "Late", "k", 64, "d"},             // a line without '=' decides before "k=1"
      {"f.ini", nullptr, nullptr, 8, std::string("ab\0cd\0", 6)},
      {"f.ini", nullptr, nullptr, 7, std::string("ab\0cd", 5)},  // exactly full: cut
      {"f.ini", nullptr, nullptr, 6, std::string("ab\0c", 4)},
      {"f.ini", nullptr, nullptr, 3, "a"},
      {"f.ini", nullptr, nullptr, 2, ""},
      {"f.ini", "ab", nullptr, 6, std::string("x\0y\0", 4)},
      {"f.ini", "ab", nullptr, 5, std::string("x\0y", 3)},
      {"f.ini", "ab", "x", 2, "1"},
  };
  for (const auto& c : cases) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    std::string file = std::string("C:\\") + c.file;
    DWORD length = GetPrivateProfileStringA(c.section, c.key, "d", buffer, c.size, file.c_str());
    std::string label = std::string(c.file) + " " + (c.section ? c.section : "(null)") + "/" +
                        (c.key ? c.key : "(null)") + " size " + std::to_string(c.size);
    EXPECT_EQ(std::string(buffer, length), c.expected) << label;
    if (c.key == nullptr && c.expected != "d") {  // a list ends with two NULs
      EXPECT_LE(std::string(buffer, length + 2).find(std::string(2, '\0')), length) << label;
    }
  }
  EXPECT_EQ(GetPrivateProfileIntA("Late", "k", 7, "C:\\k.ini"), 7u);
}

TEST_F(ProfileTest, UnreadableFilesSetTheWindowsErrorAndNeverBlock) {
  temp_.MakeFolder("folder.ini");
  temp_.WriteFile("windows/win.ini", "[S]\r\nk=from win.ini\r\n");
  testsupport::EnvGuard windir("WINPORT_WINDIR", "C:\\windows");
  testsupport::NamedPipe pipe(temp_ / "pipe.ini");
  const struct {
    const char* file;
    const char* expected;
    DWORD error;  // 0: left alone
  } cases[] = {
      {"C:\\none\\x.ini", "d", ERROR_PATH_NOT_FOUND},
      {"C:\\none.ini", "d", ERROR_FILE_NOT_FOUND},
      {"C:\\folder.ini", "d", ERROR_ACCESS_DENIED},
      {"", "d", ERROR_ACCESS_DENIED},  // not win.ini
      {nullptr, "from win.ini", 0},
      {"C:\\pipe.ini", "d", ERROR_ACCESS_DENIED},  // refused, never waited on
  };
  for (const auto& c : cases) {
    char buffer[32];
    SetLastError(0);
    GetPrivateProfileStringA("S", "k", "d", buffer, sizeof buffer, c.file);
    EXPECT_STREQ(buffer, c.expected) << (c.file ? c.file : "(null)");
    EXPECT_EQ(GetLastError(), c.error) << (c.file ? c.file : "(null)");
  }
}

TEST_F(ProfileTest, ByteOrderMarksSelectTheEncoding) {
  // [S] k=あA in UTF-16 of both byte orders, and あ with an unpaired surrogate after it.
  temp_.WriteFile("le.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x42\x30"
                                        "A\0",
                                        20));
  temp_.WriteFile("be.ini", std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0k\0=\x30\x42\0A", 20));
  temp_.WriteFile("odd.ini", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x42\x30\x00\xDC"
                                         "A",
                                         19));
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {
      {"C:\\le.ini",
       "\x82\xA0"
       "A"},
      {"C:\\be.ini",
       "\x82\xA0"
       "A"},
      {"C:\\odd.ini", "\x82\xA0??"},
  };
  for (const auto& c : cases) {
    char buffer[32];
    GetPrivateProfileStringA("S", "k", "d", buffer, sizeof buffer, c.file);
    EXPECT_STREQ(buffer, c.expected) << c.file;
  }
}

}  // namespace
