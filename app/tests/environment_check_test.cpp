#include "app/environment_check.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

namespace {

using testsupport::TempFolder;

// Makes `folder` (a Linux folder) the Windows current directory and runs the check.
struct CheckRun {
  int result;
  winport::RecordingUiBackend ui;
};

void RunCheckIn(const std::string& folder, CheckRun& run, HWND owner = nullptr) {
  testsupport::CurrentDirectoryGuard restore;
  winport::ScopedUiBackend scope(run.ui);
  ASSERT_TRUE(SetCurrentDirectoryA(testsupport::WindowsPath(folder).c_str()));
  run.result = CheckEnvironment(owner, true);
}

const char kMissing[] =
    "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
const char kTooLow[] =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
const char kTooHigh[] =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";

}  // namespace

TEST(EnvironmentCheck, DefinitionFileContentsDecideTheOutcome) {
  struct Case {
    const char* name;
    const char* ini;  // nullptr: no file
    int result;
    const char* message;  // nullptr: none shown
  };
  const Case cases[] = {
      {"no file", nullptr, 0, kMissing},
      {"level 2", "[ProgramLevel]\r\nSY31=2\r\n", 1, nullptr},
      {"level 1", "[ProgramLevel]\r\nSY31=1\r\n", 0, kTooLow},
      {"level 3", "[ProgramLevel]\r\nSY31=3\r\n", 0, kTooHigh},
      {"digits then text", "[ProgramLevel]\r\nSY31=2x\r\n", 1, nullptr},
      {"no digits", "[ProgramLevel]\r\nSY31=x\r\n", 0, kTooLow},
      {"empty value", "[ProgramLevel]\r\nSY31=\r\n", 0, kMissing},
      {"no section reads the default", "[Other]\r\nSY31=1\r\n", 1, nullptr},
      {"no key reads the default", "[ProgramLevel]\r\nSY30=1\r\n", 1, nullptr},
      {"names without regard to case", "[programlevel]\r\nsy31=3\r\n", 0, kTooHigh},
      {"empty file", "", 1, nullptr},
  };
  for (const Case& c : cases) {
    TempFolder temp;
    if (c.ini != nullptr) temp.WriteFile("QuillonDef.ini", c.ini);
    CheckRun run;
    RunCheckIn(temp.path(), run, HwndFromNumber(77));
    EXPECT_EQ(run.result, c.result) << c.name;
    if (c.message == nullptr) {
      EXPECT_TRUE(run.ui.boxes.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(run.ui.boxes.size(), 1u) << c.name;
    EXPECT_EQ(run.ui.boxes[0].text, c.message) << c.name;
    EXPECT_EQ(run.ui.boxes[0].caption, "消費税");
    EXPECT_EQ(run.ui.boxes[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(run.ui.boxes[0].owner, HwndFromNumber(77));
  }
}

TEST(EnvironmentCheck, FolderEndingInADoubleByteCharacterWithTrailBackslash) {
  // Katakana so is 0x83 0x5C in code page 932: the folder name ends in a byte that looks like
  // a backslash, yet the separator must still be added before the file name.
  TempFolder temp;
  const std::string so = reinterpret_cast<const char*>(u8"データソ");
  std::string folder = temp.MakeFolder(so);
  temp.WriteFile(so + "/QuillonDef.ini", "[ProgramLevel]\r\nSY31=3\r\n");
  CheckRun run;
  RunCheckIn(folder, run);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(run.ui.boxes.size(), 1u);
  EXPECT_EQ(run.ui.boxes[0].text, kTooHigh);  // the file was found and read
}

TEST(EnvironmentCheck, WithoutMessagesNothingIsShown) {
  TempFolder temp;
  testsupport::CurrentDirectoryGuard restore;
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  ASSERT_TRUE(SetCurrentDirectoryA(testsupport::WindowsPath(temp.path()).c_str()));
  EXPECT_EQ(CheckEnvironment(nullptr, false), 0);
  EXPECT_TRUE(ui.boxes.empty());
}
