#include "ui/output_destination.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "resources/strings.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

namespace {

// 表 = 95 5C and ソ = 83 5C: double-byte characters whose second byte is a backslash.
constexpr char kHyo[] = "\x95\x5C";
constexpr char kSo[] = "\x83\x5C";

TEST(OutputCharacters, ForbiddenCharactersAndDoubledSeparators) {
  const struct {
    std::string path;
    bool usable;
  } cases[] = {
      {"C:\\dir\\out.xml", true},
      {"C:\\dir\\*.xml", false},
      {"C:*out.xml", false},
      {"out|put.xml", false},
      {"C:\\a\\\\b.xml", false},
      {"\\\\srv\\pub\\out.xml", true},
      {"\\\\srv\\\\pub\\out.xml", false},
      {"\\\\\\srv\\out.xml", true},  // a third leading separator is left to the drive rule
      {"\\\\srv\\pub:x\\out.xml", false},
      {std::string("C:\\") + kHyo + "\\out.xml", true},  // 95 5C 5C is no doubled separator
      {std::string("C:\\") + kSo + kSo + "\\out.xml", true},
      {std::string("\\\\") + kHyo + "\\pub\\out.xml", true},
      {std::string("C:\\") + kHyo + "\\\\out.xml", false},
      {"C", true},
      {"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasUsableCharacters(c.path), c.usable) << c.path;
  }
  for (char forbidden : std::string("/:,;*?\"><|")) {
    EXPECT_FALSE(HasUsableCharacters(std::string("C:\\a") + forbidden + "b.xml")) << forbidden;
    EXPECT_FALSE(HasUsableCharacters(std::string("\\\\srv\\pub\\a") + forbidden)) << forbidden;
  }
}

// Drives and shares written as WINPORT_DRIVES and WINPORT_SHARES would give them, each with
// its own folder below a temporary one; the removable drive H: has no medium.
class OutputDestinationTest : public ::testing::Test {
 protected:
  OutputDestinationTest() : map_(MakeMap(temp_)) {}

  static winport::DriveMap MakeMap(const testsupport::TempFolder& temp) {
    std::string drives =
        "C=" + temp.MakeFolder("c") + ";D=" + temp.MakeFolder("cd") +
        ":cdrom;E=" + temp.MakeFolder("ram") + ":ramdisk;F=" + temp.MakeFolder("usb") +
        ":removable;H=" + temp / "nomedia" + ":removable;N=" + temp.MakeFolder("net") +
        ":remote;U=" + temp.MakeFolder("u") + ":unknown;Z=";
    std::string shares = "srv\\pub=" + temp.MakeFolder("pub");
    std::string error;
    std::optional<winport::DriveMap> map =
        winport::DriveMap::FromSettings(drives.c_str(), shares.c_str(), &error);
    if (!map) throw std::runtime_error(error);
    return *map;
  }

  testsupport::TempFolder temp_;
  testsupport::DriveMapGuard map_;
};

TEST_F(OutputDestinationTest, DriveTypesAndSharesDecide) {
  const struct {
    std::string path;
    bool usable;
  } cases[] = {
      {"C:\\out.xml", true},
      {"D:\\out.xml", false},  // CD-ROM
      {"E:\\out.xml", false},  // RAM disk
      {"F:\\out.xml", true},   // removable with its medium
      {"H:\\out.xml", false},  // removable without
      {"N:\\out.xml", true},   // remote
      {"U:\\out.xml", false},  // type cannot be determined
      // An unmapped drive passes the drive rule, but no folder can be made there.
      {"Q:\\out.xml", true},  // no root directory: left to the folder check
      {"1:\\out.xml", false},
      {std::string(kHyo) + ":\\out.xml", false},
      {"C:\\a\\\\out.xml", false},
      {"\\\\srv\\pub\\out.xml", true},
      {"\\\\SRV\\Pub\\dir\\out.xml", true},
      {"\\\\srv\\other\\out.xml", false},
      {"\\\\srv\\pub", false},  // no separator after the share
      {"\\\\srv", false},
      {"\\\\", false},
      {std::string("\\\\srv\\pub") + kHyo + "\\out.xml", false},  // share "pub表" is unknown
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasUsableDriveOrShare(c.path), c.usable) << c.path;
  }
}

constexpr UINT kError = MB_ICONEXCLAMATION | MB_OK;
constexpr UINT kQuestion = MB_ICONQUESTION | MB_YESNO;
const std::string kEmpty = "データ出力先が指定されていません。\n\n出力先を指定してください。";
const std::string kBadText =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
const std::string kBadDrive =
    "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
const std::string kNoName = "ファイル名が指定されていません。";
const std::string kCreate = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
const std::string kNotCreated = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
const std::string kOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

struct Box {
  std::string text;
  UINT style;
  bool operator==(const Box&) const = default;
};

TEST_F(OutputDestinationTest, ChecksInOrderWithTheirNotices) {
  temp_.WriteFile("c/exists.xml", "old");
  temp_.MakeFolder("c/folder");
  const HWND owner = HwndFromNumber(4711);
  const struct {
    std::string path;
    bool fixed;
    std::vector<int> answers;
    std::vector<Box> boxes;
    OutputCheckResult result;
  } cases[] = {
      {"", false, {}, {{kEmpty, kError}}, OutputCheckResult::Stay},
      {"C:\\*.xml", false, {}, {{kBadText, kError}}, OutputCheckResult::Stay},
      {"D:\\out.xml", false, {}, {{kBadDrive, kError}}, OutputCheckResult::Stay},
      {"9out.xml", false, {}, {{kBadDrive, kError}}, OutputCheckResult::Stay},
      {"C:\\folder\\", false, {}, {{kNoName, kError}}, OutputCheckResult::Stay},
      {"C:\\folder", false, {}, {{kNoName, kError}}, OutputCheckResult::Stay},
      {"C:\\folder", true, {}, {}, OutputCheckResult::Accept},
      {"C:\\new.xml", false, {}, {}, OutputCheckResult::Accept},
      {"c:\\lower.xml", false, {}, {}, OutputCheckResult::Accept},
      {"C:\\exists.xml", false, {IDNO}, {{kOverwrite, kQuestion}}, OutputCheckResult::Stay},
      {"C:\\EXISTS.xml", false, {IDYES}, {{kOverwrite, kQuestion}}, OutputCheckResult::Accept},
      {"C:\\exists.xml", true, {}, {}, OutputCheckResult::Accept},
      {"C:\\n1\\n2\\out.xml", false, {IDNO}, {{kCreate, kQuestion}}, OutputCheckResult::Stay},
      {"C:\\m1\\m2\\out.xml", false, {IDYES}, {{kCreate, kQuestion}}, OutputCheckResult::Accept},
      // An unmapped drive passes the drive rule, but no folder can be made there.
      {"Q:\\out.xml",
       false,
       {IDYES},
       {{kCreate, kQuestion}, {kNotCreated, kError}},
       OutputCheckResult::Stay},
      {"\\\\srv\\pub\\out.xml", false, {}, {}, OutputCheckResult::Accept},
  };
  for (const auto& c : cases) {
    winport::RecordingUiBackend ui;
    ui.answers.assign(c.answers.begin(), c.answers.end());
    winport::ScopedUiBackend scoped(ui);
    EXPECT_EQ(CheckOutputDestination(owner, c.path, c.fixed), c.result) << c.path;
    std::vector<Box> boxes;
    for (const auto& box : ui.boxes) {
      boxes.push_back({box.text, box.style});
      EXPECT_EQ(box.owner, owner);
      EXPECT_EQ(box.caption, kMessageCaption);
    }
    EXPECT_EQ(boxes, c.boxes) << c.path;
    EXPECT_TRUE(ui.answers.empty()) << c.path;
  }
  EXPECT_FALSE(std::filesystem::exists(temp_ / "c/n1"));  // No creates nothing
  EXPECT_TRUE(std::filesystem::is_directory(temp_ / "c/m1/m2"));
  EXPECT_EQ(temp_.Read("c/exists.xml"), "old");
}

}  // namespace
