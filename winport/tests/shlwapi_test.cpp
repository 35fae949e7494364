#include "winport/shlwapi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/files.h"

namespace {

using testsupport::Utf8;

// Expected values settled with Wine under code page 932; 表 = 95 5C and ソ = 83 5C.
TEST(PathRoots, SkipAndStripDriveAndShareRoots) {
  const char* none = nullptr;
  const struct {
    const char* path;
    const char* rest;  // after PathSkipRootA; nullptr: no root
    BOOL stripped;     // PathStripToRootA
    const char* left;
  } cases[] = {
      {"C:\\windows\\system32", "windows\\system32", TRUE, "C:\\"},
      {"C:\\", "", TRUE, "C:\\"},
      {"C:", none, FALSE, "C:"},
      {"C:foo", none, FALSE, "C:"},
      {"c:/windows", none, FALSE, "c:"},
      {"\\foo\\bar", none, TRUE, "\\"},
      {"\\", none, TRUE, "\\"},
      {"\\\\server\\share\\dir", "dir", TRUE, "\\\\server\\share"},
      {"\\\\server\\share", none, TRUE, "\\\\server\\share"},
      {"\\\\server\\share\\", "", TRUE, "\\\\server\\share"},
      {"\\\\server", none, TRUE, "\\\\server"},
      {"\\\\server\\", none, TRUE, "\\\\server\\"},
      {"\\\\", none, TRUE, "\\\\"},
      {"\\\\srv\\\\x", "x", TRUE, "\\\\srv\\"},
      {"\\\\?\\C:\\x", "x", FALSE, "\\\\?\\C:\\"},
      {"foo\\bar", none, FALSE, ""},
      {"", none, FALSE, ""},
      {"x", none, FALSE, ""},
      {"C:\\\x95\x5C\\a", "\x95\x5C\\a", TRUE, "C:\\"},
      {"\\\\\x95\x5C\\share\\dir", "dir", TRUE, "\\\\\x95\x5C\\share"},
      {"\\\\srv\\\x83\x5C\\dir", "dir", TRUE, "\\\\srv\\\x83\x5C"},
      {"\x95\x5C:\\a", none, FALSE, "\x95\x5C:\\"},  // a lead byte is no drive letter
  };
  for (const auto& c : cases) {
    const char* rest = PathSkipRootA(c.path);
    if (c.rest == nullptr) {
      EXPECT_EQ(rest, nullptr) << c.path;
    } else {
      EXPECT_EQ(rest, c.path + std::strlen(c.path) - std::strlen(c.rest)) << c.path;
    }
    char buffer[MAX_PATH + 1];
    std::strcpy(buffer, c.path);
    EXPECT_EQ(PathStripToRootA(buffer), c.stripped) << c.path;
    EXPECT_STREQ(buffer, c.left) << c.path;
  }
  EXPECT_EQ(PathSkipRootA(nullptr), nullptr);
  // A full buffer of 260 bytes.
  std::string longest = "C:\\" + std::string(MAX_PATH - 5, 'a') + "\\b";
  char buffer[MAX_PATH + 1];
  std::strcpy(buffer, longest.c_str());
  EXPECT_TRUE(PathStripToRootA(buffer));
  EXPECT_STREQ(buffer, "C:\\");
}

TEST(PathIsDirectory, FoldersThroughTheDriveMap) {
  testsupport::TempFolder temp;
  temp.MakeFolder(Utf8(u8"dir/表"));
  temp.WriteFile("file.txt", "x");
  winport::DriveMap map;
  map.SetDrive('C', {temp.path(), DRIVE_FIXED});
  map.SetShare("srv", "pub", temp.MakeFolder("share"));
  testsupport::DriveMapGuard guard(map);
  const struct {
    const char* path;
    BOOL result;
  } cases[] = {
      {"C:\\dir", FILE_ATTRIBUTE_DIRECTORY},
      {"C:\\dir\\", FILE_ATTRIBUTE_DIRECTORY},
      {"C:\\dir\\\x95\x5C", FILE_ATTRIBUTE_DIRECTORY},
      {"C:\\dir\\\x95\x5C\\", FILE_ATTRIBUTE_DIRECTORY},
      {"C:\\file.txt", FALSE},
      {"C:\\file.txt\\", FALSE},
      {"C:\\no_such_dir", FALSE},
      {"C:\\", FILE_ATTRIBUTE_DIRECTORY},
      {"C:", FILE_ATTRIBUTE_DIRECTORY},
      {"", FALSE},
      {"\\\\srv\\pub", FILE_ATTRIBUTE_DIRECTORY},
      {"\\\\srv", FALSE},
      {"Q:\\", FALSE},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathIsDirectoryA(c.path), c.result) << c.path;
  }
  EXPECT_EQ(PathIsDirectoryA(nullptr), FALSE);
}

}  // namespace
