#include "winport/crt_string.h"

#include <gtest/gtest.h>

#include <string>

#include "winport/split_path.h"

namespace {

TEST(SplitPath, PartsAsMsvcrtGivesThemUnderCodePage932) {
  const struct {
    const char* path;
    const char* drive;
    const char* dir;
    const char* fname;
    const char* ext;
  } cases[] = {
      {"C:\\dir\\file.txt", "C:", "\\dir\\", "file", ".txt"},
      {"C:\\dir\\\x95\x5C.txt", "C:", "\\dir\\", "\x95\x5C", ".txt"},
      {"C:\\\x95\x5C\\file.txt", "C:", "\\\x95\x5C\\", "file", ".txt"},
      {"C:\\\x83\x5C\x83\x74\x83\x67.ini", "C:", "\\", "\x83\x5C\x83\x74\x83\x67", ".ini"},
      {"C:\\dir\\\x83\x5C", "C:", "\\dir\\", "\x83\x5C", ""},
      {"C:\\a.\x95\x5C", "C:", "\\", "a", ".\x95\x5C"},
      {"\\\\server\\share\\dir\\f.tar.gz", "", "\\\\server\\share\\dir\\", "f.tar", ".gz"},
      {"file", "", "", "file", ""},
      {".ext", "", "", "", ".ext"},
      {"dir.d\\file", "", "dir.d\\", "file", ""},
      {"C:file.txt", "C:", "", "file", ".txt"},
      {"C:/a/b.c", "C:", "/a/", "b", ".c"},
      {"C:\\dir\\", "C:", "\\dir\\", "", ""},
      {"C:", "C:", "", "", ""},
      {"x", "", "", "x", ""},
      {"C:\\a\x95", "C:", "\\", "a\x95", ""},  // a lone lead byte at the end
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    char drive[winport::kMaxDrive], dir[winport::kMaxDir], fname[winport::kMaxFname],
        ext[winport::kMaxExt];
    winport::SplitPath(c.path, drive, dir, fname, ext);
    EXPECT_STREQ(drive, c.drive) << c.path;
    EXPECT_STREQ(dir, c.dir) << c.path;
    EXPECT_STREQ(fname, c.fname) << c.path;
    EXPECT_STREQ(ext, c.ext) << c.path;
  }
}

TEST(SplitPath, LongPartsAreCutToTheirBuffersNeverInsideACharacter) {
  char dir[winport::kMaxDir], fname[winport::kMaxFname];
  // Folder of exactly 255 bytes fits; 256 and 257 are cut to 255, and 表 at the cut goes whole.
  std::string fits = "\\" + std::string(253, 'a') + "\\";
  std::string over = "\\" + std::string(254, 'a') + "\\";
  std::string split = "\\" + std::string(253, 'a') + "\x95\x5C\\";
  const struct {
    std::string path;
    std::string dir;
  } cases[] = {
      {"C:" + fits + "f", fits},
      {"C:" + over + "f", over.substr(0, 255)},
      {"C:" + split + "f", split.substr(0, 254)},
  };
  for (const auto& c : cases) {
    winport::SplitPath(c.path.c_str(), nullptr, dir, fname, nullptr);
    EXPECT_EQ(std::string(dir), c.dir) << c.path.size();
    EXPECT_STREQ(fname, "f");
  }
  winport::SplitPath(nullptr, nullptr, dir, nullptr, nullptr);
  EXPECT_STREQ(dir, "");
}

// Each row compares both ways; kWhole is a count beyond both texts, which must agree with
// Stricmp.
TEST(Stricmp, FoldsOnlyAsciiLettersByteByByte) {
  constexpr std::size_t kWhole = 100;
  const struct {
    const char* a;
    const char* b;
    std::size_t count;
    int sign;
  } cases[] = {
      {"C:\\Dir\\", "c:\\dIR\\", kWhole, 0},
      {"", "", kWhole, 0},
      {"a", "", kWhole, 1},
      {"abc", "abd", kWhole, -1},
      {"A", "_", kWhole, 1},                 // folded to lower case first: 'a' > '_'
      {"\x95\x5C", "\x83\x5C", kWhole, 1},   // bytes 0x80 and above compare unsigned, unfolded
      {"\x83\x41", "\x83\x61", kWhole, 0},   // kept quirk: a second byte in A-Z folds too
      {"\xC0", "\xE0", kWhole, -1},          // no Latin-1 folding in the C locale
      {"\x82\x60", "\x82\x81", kWhole, -1},  // Ａ and ａ are different characters
      {"dir\\sub\\", "DIR\\other\\", 4, 0},
      {"dir\\sub\\", "DIR\\other\\", 5, 1},
      {"dir\\", "dir\\sub\\", 4, 0},
      {"dir\\", "dir\\sub\\", 7, -1},  // the end of the shorter text differs from a byte
      {"x", "y", 0, 0},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const auto& c : cases) {
    EXPECT_EQ(sign(winport::Strnicmp(c.a, c.b, c.count)), c.sign) << c.a << " " << c.count;
    EXPECT_EQ(sign(winport::Strnicmp(c.b, c.a, c.count)), -c.sign) << c.a << " " << c.count;
    if (c.count == kWhole) {
      EXPECT_EQ(sign(winport::Stricmp(c.a, c.b)), c.sign) << c.a << " " << c.b;
      EXPECT_EQ(sign(winport::Stricmp(c.b, c.a)), -c.sign) << c.a << " " << c.b;
    }
  }
  EXPECT_EQ(winport::Stricmp("a", "_"), 'a' - '_');
}

TEST(Mbsnbcpy, CopiesBytesNeverHalfACharacterAndPads) {
  const struct {
    const char* src;
    std::size_t count;
    std::string dest;  // the count bytes written (then the untouched fill)
  } cases[] = {
      {"abcdef", 3, "abc#"},  // not terminated
      {"ab", 4, std::string("ab\0\0#", 5)},
      {"\x95\x5C\x83\x5C", 4, "\x95\x5C\x83\x5C#"},
      {"\x95\x5C\x83\x5C", 3, std::string("\x95\x5C\0#", 4)},  // ソ would be cut: lead dropped
      {"\x95\x5C\x83\x5C", 1, std::string("\0#", 2)},
      {"a\x95", 3, std::string("a\0\0#", 4)},  // a lone lead byte at the end is dropped
      {"\\\x95\x5C\\", 4, "\\\x95\x5C\\#"},
      {"abc", 0, "#"},
      {"", 2, std::string("\0\0#", 3)},
  };
  for (const auto& c : cases) {
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(winport::Mbsnbcpy(buffer, c.src, c.count), buffer);
    EXPECT_EQ(std::string(buffer, c.count + 1), c.dest) << c.src << " " << c.count;
  }
}

}  // namespace
