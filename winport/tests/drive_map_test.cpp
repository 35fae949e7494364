#include "winport/drive_map.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/windows_path.h"

namespace {

using testsupport::Utf8;

winport::DriveMap SampleMap() {
  winport::DriveMap map;
  map.SetDrive('c', {"/srv/c/", DRIVE_FIXED});
  map.SetDrive('E', {"/srv/c", DRIVE_CDROM});  // same root as C: C wins going back
  map.SetDrive('D', {"/media/usb", DRIVE_REMOVABLE});
  map.SetShare("srv", "Pub", "/srv/pub");
  return map;
}

TEST(DriveMapToLinux, MapsDrivesAndSharesNameByName) {
  const struct {
    const char* windows;
    std::optional<std::string> onLinux;
  } cases[] = {
      {"C:\\", "/srv/c"},
      {"c:\\Dir\\File.txt", "/srv/c/Dir/File.txt"},
      {"C:/a/b", "/srv/c/a/b"},
      {"C:\\a\\.\\b\\\\c\\", "/srv/c/a/b/c"},
      {"C:\\a\\..\\..\\..\\b", "/srv/c/b"},  // never above the drive root
      {"C:\\report.xml. ", "/srv/c/report.xml"},
      {"C:\\\x83\x5C\\x", Utf8(u8"/srv/c/ソ/x")},  // trail byte 0x5C is no separator
      {"C:\\\x95\x5C\x8E\xA6", Utf8(u8"/srv/c/表示")},
      {"Z:\\tmp", "/tmp"},
      {"D:\\", "/media/usb"},
      {"\\\\srv\\pub\\a", "/srv/pub/a"},
      {"\\\\SRV\\PUB", "/srv/pub"},
      {"//srv/pub/a/../../x", "/srv/pub/x"},
      {"\\\\?\\C:\\x", "/srv/c/x"},
      {"\\\\?\\UNC\\srv\\pub\\x", "/srv/pub/x"},
      {"Q:\\x", std::nullopt},              // no such drive
      {"\\\\other\\pub\\a", std::nullopt},  // no such share
      {"\\\\srv", std::nullopt},            // a server alone
      {"\\\\srv\\\\pub", std::nullopt},     // doubled separator: no server\share
      {"relative\\x", std::nullopt},
      {"\\rooted", std::nullopt},
      {"C:\\a<b", std::nullopt},
      {"C:\\a\x81", std::nullopt},  // a lead byte with nothing after it has no UTF-8 form
      {"1:\\x", std::nullopt},
      {"", std::nullopt},
  };
  winport::DriveMap map = SampleMap();
  for (const auto& c : cases) {
    EXPECT_EQ(map.ToLinux(c.windows), c.onLinux) << c.windows;
  }
}

TEST(DriveMapToWindows, TakesTheMostSpecificDriveRoot) {
  const struct {
    std::string onLinux;
    std::optional<std::string> windows;
  } cases[] = {
      {"/", "Z:\\"},
      {"/srv/c", "C:\\"},
      {"/srv/c/", "C:\\"},
      {"/srv/c/x/y.txt", "C:\\x\\y.txt"},
      {"/srv/cc/x", "Z:\\srv\\cc\\x"},  // a root holds only whole names
      {"/srv/c/../d", "Z:\\srv\\d"},
      {"/../../srv/./c", "C:\\"},
      {"/media/usb/a", "D:\\a"},
      {"/srv/pub/a", "Z:\\srv\\pub\\a"},  // shares are never chosen
      {Utf8(u8"/srv/c/ソ/表"), "C:\\\x83\x5C\\\x95\x5C"},
      {"relative", std::nullopt},
      {"/srv/c/a\\b", std::nullopt},               // a '\' in a Linux name
      {"/srv/c/a:b", std::nullopt},                // a name Windows refuses
      {Utf8(u8"/srv/c/caf\u00e9"), std::nullopt},  // no code page 932 form
  };
  winport::DriveMap map = SampleMap();
  for (const auto& c : cases) {
    EXPECT_EQ(map.ToWindows(c.onLinux), c.windows) << c.onLinux;
  }
  map.RemoveDrive('z');
  EXPECT_EQ(map.ToWindows("/home"), std::nullopt);
}

TEST(DriveMapSettings, ReadsDrivesAndShares) {
  std::string error;
  std::optional<winport::DriveMap> map = winport::DriveMap::FromSettings(
      " C=/srv/c:fixed; d:=/media/usb:Removable;E=/mnt/cd:cdrom;F=/net:remote;G=/ram:ramdisk;"
      "H=/gone:noroot;I=/odd:unknown;J=/with:colon:fixed;K=/plain;;",
      "srv\\pub=/srv/pub; \\\\Host/Data = /data", &error);
  ASSERT_TRUE(map) << error;
  const struct {
    char letter;
    const char* root;
    UINT type;
  } drives[] = {{'C', "/srv/c", DRIVE_FIXED},  {'D', "/media/usb", DRIVE_REMOVABLE},
                {'E', "/mnt/cd", DRIVE_CDROM}, {'F', "/net", DRIVE_REMOTE},
                {'G', "/ram", DRIVE_RAMDISK},  {'H', "/gone", DRIVE_NO_ROOT_DIR},
                {'I', "/odd", DRIVE_UNKNOWN},  {'J', "/with:colon", DRIVE_FIXED},
                {'K', "/plain", DRIVE_FIXED},  {'Z', "/", DRIVE_FIXED}};
  for (const auto& d : drives) {
    const winport::Drive* drive = map->FindDrive(d.letter);
    ASSERT_NE(drive, nullptr) << d.letter;
    EXPECT_EQ(drive->linuxRoot, d.root) << d.letter;
    EXPECT_EQ(drive->type, d.type) << d.letter;
  }
  EXPECT_EQ(map->ToLinux("\\\\host\\data\\x"), "/data/x");
  EXPECT_EQ(map->ToLinux("\\\\SRV\\pub"), "/srv/pub");

  std::optional<winport::DriveMap> noZ = winport::DriveMap::FromSettings("Z=;C=/c", nullptr);
  ASSERT_TRUE(noZ);
  EXPECT_EQ(noZ->FindDrive('Z'), nullptr);
}

TEST(DriveMapSettings, MalformedTextsNameTheVariableAndEntry) {
  const struct {
    const char* drives;
    const char* shares;
    const char* mention;
  } cases[] = {
      {"C", nullptr, "WINPORT_DRIVES: \"C\""},
      {"CD=/x", nullptr, "one letter"},
      {"1=/x", nullptr, "one letter"},
      {"C=relative", nullptr, "absolute"},
      {"C=/x:floppy", nullptr, "unknown drive type"},
      {"C=:cdrom", nullptr, "absolute"},
      {nullptr, "srv=/x", "WINPORT_SHARES: \"srv=/x\""},
      {nullptr, "\\\\srv\\=/x", "server and a share"},
      {nullptr, "srv\\pub=rel", "absolute"},
      {nullptr, "srv\\pub", "expected"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(winport::DriveMap::FromSettings(c.drives, c.shares, &error));
    EXPECT_NE(error.find(c.mention), std::string::npos) << error;
  }
}

TEST(DriveMapSettings, EnvironmentKeepsEveryValidEntryAndNamesTheBadOnes) {
  testsupport::EnvGuard drives("WINPORT_DRIVES", "Q=/srv/q:cdrom;CD=/x;R=/srv/r");
  testsupport::EnvGuard shares("WINPORT_SHARES", "srv=/x;host\\pub=/srv/pub");
  std::vector<std::string> warnings;
  winport::DriveMap map = winport::DriveMap::FromEnvironment(&warnings);
  ASSERT_NE(map.FindDrive('q'), nullptr);
  EXPECT_EQ(map.FindDrive('Q')->type, DRIVE_CDROM);
  EXPECT_NE(map.FindDrive('R'), nullptr);
  EXPECT_NE(map.FindDrive('Z'), nullptr);
  EXPECT_NE(map.FindShare("HOST", "pub"), nullptr);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_NE(warnings[0].find("WINPORT_DRIVES: \"CD=/x\""), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[1].find("WINPORT_SHARES: \"srv=/x\""), std::string::npos) << warnings[1];
}

TEST(DriveMapToWindows, SharesNameWhatNoDriveHolds) {
  winport::DriveMap map = SampleMap();
  map.SetShare("Files", "Bin", "/opt/ql");
  map.SetShare("files", "deep", "/opt/ql/sub");
  EXPECT_EQ(map.ToWindowsOrShare("/srv/c/x"), "C:\\x");  // a drive first
  map.RemoveDrive('Z');
  EXPECT_EQ(map.ToWindowsOrShare("/opt/ql/moravel"), "\\\\Files\\Bin\\moravel");
  EXPECT_EQ(map.ToWindowsOrShare("/opt/ql/sub/a"), "\\\\files\\deep\\a");  // most specific
  EXPECT_EQ(map.ToWindowsOrShare("/opt/ql"), "\\\\Files\\Bin");
  EXPECT_EQ(map.ToWindowsOrShare("/home/x"), std::nullopt);
  EXPECT_EQ(map.ToWindows("/opt/ql/moravel"), std::nullopt);  // never through ToWindows
}

TEST(WindowsPathResolve, RelativeFormsCountFromTheCurrentDirectory) {
  const struct {
    const char* text;
    const char* current;
    const char* full;  // nullptr: refused
    DWORD error;
  } cases[] = {
      {"x.txt", "C:\\dir", "C:\\dir\\x.txt", 0},
      {"..\\..\\..\\x", "C:\\dir", "C:\\x", 0},
      {".", "C:\\dir", "C:\\dir", 0},
      {"\\top\\x", "C:\\dir\\sub", "C:\\top\\x", 0},
      {"C:x", "c:\\dir", "C:\\dir\\x", 0},
      {"D:x", "C:\\dir", "D:\\x", 0},  // another drive: its root
      {"c:", "C:\\dir", "C:\\dir", 0},
      {"\\x", "\\\\srv\\pub\\dir", "\\\\srv\\pub\\x", 0},
      {"..", "\\\\srv\\pub", "\\\\srv\\pub", 0},
      {"\x83\x5C\\..\\a", "C:\\", "C:\\a", 0},
      {"x", "", nullptr, ERROR_PATH_NOT_FOUND},
      {"", "C:\\", nullptr, ERROR_PATH_NOT_FOUND},
      {"a|b", "C:\\", nullptr, ERROR_INVALID_NAME},
      {"1:\\a", "C:\\", nullptr, ERROR_INVALID_NAME},
      {"\\\\srv\\", "C:\\", nullptr, ERROR_BAD_PATHNAME},
  };
  for (const auto& c : cases) {
    DWORD error = 0;
    std::optional<winport::WindowsPath> path =
        winport::ResolveWindowsPath(c.text, c.current, &error);
    if (c.full == nullptr) {
      EXPECT_FALSE(path) << c.text;
      EXPECT_EQ(error, c.error) << c.text;
    } else {
      ASSERT_TRUE(path) << c.text;
      EXPECT_EQ(path->ToString(), c.full) << c.text;
    }
  }
}

}  // namespace
