#include "winport/shlwapi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/files.h"

namespace {

using testsupport::Utf8;

// Expected values settled with Wine under code page 932; 表 = 95 5C and ソ = 83 5C.
TEST(PathSkipRoot, SkipsDriveAndShareRootsOnly) {
  const struct {
    const char* path;
    std::optional<std::string> rest;  // nullopt: no root
  } cases[] = {
      {"C:\\windows\\system32", "windows\\system32"},
      {"C:\\", ""},
      {"C:", std::nullopt},
      {"C:foo", std::nullopt},
      {"c:/windows", std::nullopt},
      {"\\foo\\bar", std::nullopt},
      {"\\", std::nullopt},
      {"\\\\server\\share\\dir", "dir"},
      {"\\\\server\\share", std::nullopt},
      {"\\\\server\\share\\", ""},
      {"\\\\server", std::nullopt},
      {"\\\\server\\", std::nullopt},
      {"\\\\", std::nullopt},
      {"\\\\srv\\\\x", "x"},
      {"\\\\?\\C:\\x", "x"},
      {"foo\\bar", std::nullopt},
      {"", std::nullopt},
      {"x", std::nullopt},
      {"C:\\\x95\x5C\\a", "\x95\x5C\\a"},
      {"\\\\\x95\x5C\\share\\dir", "dir"},
      {"\\\\srv\\\x83\x5C\\dir", "dir"},
      {"\x95\x5C:\\a", std::nullopt},  // a lead byte is no drive letter
  };
  for (const auto& c : cases) {
    const char* rest = PathSkipRootA(c.path);
    EXPECT_EQ(rest ? std::optional<std::string>(rest) : std::nullopt, c.rest) << c.path;
    if (rest) {
      EXPECT_EQ(rest, c.path + std::strlen(c.path) - c.rest->size()) << c.path;
    }
  }
  EXPECT_EQ(PathSkipRootA(nullptr), nullptr);
}

TEST(PathStripToRoot, CutsToTheRootOrFailsWithWhatIsLeft) {
  const struct {
    const char* path;
    BOOL result;
    const char* left;
  } cases[] = {
      {"C:\\windows\\system32", TRUE, "C:\\"},
      {"C:\\", TRUE, "C:\\"},
      {"C:", FALSE, "C:"},
      {"C:foo", FALSE, "C:"},
      {"c:/windows", FALSE, "c:"},
      {"\\foo\\bar", TRUE, "\\"},
      {"\\", TRUE, "\\"},
      {"\\\\server\\share\\dir", TRUE, "\\\\server\\share"},
      {"\\\\server\\share", TRUE, "\\\\server\\share"},
      {"\\\\server\\share\\", TRUE, "\\\\server\\share"},
      {"\\\\server", TRUE, "\\\\server"},
      {"\\\\server\\", TRUE, "\\\\server\\"},
      {"\\\\", TRUE, "\\\\"},
      {"\\\\?\\C:\\x", FALSE, "\\\\?\\C:\\"},
      {"foo\\bar", FALSE, ""},
      {"", FALSE, ""},
      {"C:\\\x95\x5C\\a", TRUE, "C:\\"},
      {"\\\\\x95\x5C\\share\\dir", TRUE, "\\\\\x95\x5C\\share"},
      {"\\\\srv\\\x83\x5C\\dir", TRUE, "\\\\srv\\\x83\x5C"},
  };
  for (const auto& c : cases) {
    char buffer[MAX_PATH + 1];
    std::strcpy(buffer, c.path);
    EXPECT_EQ(PathStripToRootA(buffer), c.result) << c.path;
    EXPECT_STREQ(buffer, c.left) << c.path;
  }
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
