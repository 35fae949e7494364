// The link session, message library and application folders of the accounting product.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "accounting/ClAccConnect.h"
#include "accounting/ClFileMgr.h"
#include "accounting/ClMsgMgr.h"
#include "ledvia/company_database.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/recording_ui.h"

namespace {

std::string SamplePath() {
  const char* bin = getenv("QL_BIN_DIR");
  return std::string(bin != nullptr ? bin : ".") + "/sample/ledvia-sample.db";
}

}  // namespace

TEST(LinkSession, InitiateAttachesOnlyToACompanyDatabase) {
  ClAccConnect* session = ClAccConnect::Inst();
  {
    testsupport::EnvGuard data("LEDVIA_DATA", SamplePath().c_str());
    EXPECT_EQ(session->Initiate(), 0);
    EXPECT_TRUE(session->Attached());
    EXPECT_NE(ledvia::CompanyDatabase(), nullptr);
    session->LogOut();
    session->Terminate();
    session->Release();
    EXPECT_FALSE(session->Attached());
    EXPECT_EQ(ledvia::CompanyDatabase(), nullptr);
  }
  char folder[] = "/tmp/ledvia-session-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string junk = std::string(folder) + "/junk.db";
  std::FILE* file = std::fopen(junk.c_str(), "w");
  std::fputs("not a database", file);
  std::fclose(file);
  const std::string emptyDb = std::string(folder) + "/empty.db";
  std::fclose(std::fopen(emptyDb.c_str(), "w"));  // SQLite opens an empty file happily
  for (const std::string& path : {std::string(folder) + "/missing.db", junk, emptyDb}) {
    testsupport::EnvGuard data("LEDVIA_DATA", path.c_str());
    EXPECT_NE(session->Initiate(), 0) << path;
    EXPECT_FALSE(session->Attached()) << path;
    session->Release();
  }
  // Read-only: the session never creates a file it was pointed at.
  EXPECT_NE(access((std::string(folder) + "/missing.db").c_str(), F_OK), 0);
  unlink(junk.c_str());
  unlink(emptyDb.c_str());
  rmdir(folder);
}

TEST(LinkSession, LinkCheckAnswersFromTheEnvironment) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {{nullptr, 0}, {"", 0},    {"0", 0},   {"1", 1},
                        {"5", 5},     {"-3", -3}, {"1x", -1}, {"99999999999", -1}};
  for (const Case& c : cases) {
    testsupport::EnvGuard link("LEDVIA_EXPSYSLINK", c.value);
    EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), c.expected) << (c.value ? c.value : "unset");
  }
}

TEST(MessageLibrary, RecordsOutcomesAndShowsFatalCodesOnly) {
  ClMsgMgr* messages = ClMsgMgr::Inst();
  EXPECT_EQ(messages->SetLastError(1234, "ControlATS31", 8436), 1234);
  EXPECT_EQ(messages->LastRecorded().source, "ControlATS31");
  EXPECT_EQ(messages->LastRecorded().line, 8436);
  EXPECT_EQ(messages->SetLastError(0, nullptr, 0), 0);
  EXPECT_EQ(messages->LastRecorded().source, "");

  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  EXPECT_EQ(messages->CheckFatalErrorWithMsg(0, -1, 1, nullptr), 0);
  EXPECT_EQ(messages->CheckFatalErrorWithMsg(5000, -1, 1, nullptr), 0);  // end of data
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_NE(messages->CheckFatalErrorWithMsg(-1001, -1, 1, nullptr), 0);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_NE(ui.boxes[0].text.find("-1001"), std::string::npos);
}

TEST(FolderLibrary, ApplicationFoldersLieUnderTheLedviaHome) {
  char home[] = "/tmp/ledvia-home-XXXXXX";
  ASSERT_NE(mkdtemp(home), nullptr);
  testsupport::EnvGuard env("LEDVIA_HOME", home);
  std::string output = ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::FOLDER_OUTPUT);
  std::string settings = ClFileMgr::Inst()->GetAppFolderPath(ClFileMgr::FOLDER_SETTINGS);
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(output.back(), '\\');
  EXPECT_NE(output, settings);
  // Both are real folders, reachable through the Windows path handed out.
  EXPECT_EQ(GetFileAttributesA(output.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(ClFileMgr::Inst()->GetAppFolderPath(7), "");
  RemoveDirectoryA(output.c_str());
  RemoveDirectoryA(settings.c_str());
  rmdir(home);
}
