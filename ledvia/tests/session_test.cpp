// The link session, message library and application folders of the accounting product.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "accounting/ClAccConnect.h"
#include "accounting/ClFileMgr.h"
#include "accounting/ClMsgMgr.h"
#include "ledvia/company_database.h"
#include "tests/support/temp_folder.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

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

// What the process writes on stderr between Start and Stop.
class StderrCapture {
 public:
  explicit StderrCapture(std::string file) : file_(std::move(file)) {
    std::fflush(stderr);
    saved_ = dup(2);
    int fd = open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    close(fd);
  }
  std::string Stop() {
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    std::ifstream in(file_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string file_;
  int saved_ = -1;
};

void Exec(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

// A company data that cannot be used ends the program; the library says on one stderr line
// which file and why, and never blocks on something that is not a file.
TEST(LinkSession, AttachFailuresNameTheFileAndTheReason) {
  testsupport::TempFolder folder;
  const std::string sample = folder / "sample.db";
  std::filesystem::copy_file(SamplePath(), sample);
  const std::string newer = folder / "newer.db";
  std::filesystem::copy_file(SamplePath(), newer);
  Exec(newer, "UPDATE ledvia_meta SET value = 5 WHERE key = 'schema_version'");
  const std::string other = folder / "other.db";
  Exec(other, "CREATE TABLE notes(text)");
  const std::string fifo = folder / "pipe.db";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Company files from elsewhere: a view where a table belongs, a table short of a column, a
  // file cut short, a page of the journal overwritten.
  auto crafted = [&](const char* name, const char* sql) {
    const std::string path = folder / name;
    std::filesystem::copy_file(SamplePath(), path);
    if (sql != nullptr) Exec(path, sql);
    return path;
  };
  const std::string view =
      crafted("view.db", "DROP TABLE journal; CREATE VIEW journal AS SELECT * FROM fixed_assets");
  const std::string column = crafted("column.db", "ALTER TABLE fixed_assets DROP COLUMN name");
  // A file that says it is of an older version must hold what that version keeps.
  const std::string older =
      crafted("older.db", "UPDATE ledvia_meta SET value = 3 WHERE key = 'schema_version'");
  const std::string truncated = crafted("truncated.db", nullptr);
  std::filesystem::resize_file(truncated, std::filesystem::file_size(truncated) / 2);
  const std::string flipped = crafted("flipped.db", nullptr);
  {
    // Over the header of the first page of the department totals, which every export reads (the
    // page size is at offset 16, big-endian; pages count from 1).
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_open(flipped.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT rootpage FROM sqlite_schema WHERE name = "
                                 "'journal_department_totals'",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    const std::uintmax_t root = static_cast<std::uintmax_t>(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    std::fstream bytes(flipped, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char size[2] = {};
    bytes.seekg(16);
    bytes.read(reinterpret_cast<char*>(size), 2);
    const std::uintmax_t page = size[0] * 256u + size[1];
    const std::string junk(600, '\x5A');
    bytes.seekp(static_cast<std::streamoff>((root - 1) * page));
    bytes.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  // Another process writing: its connection holds the lock for the length of the test.
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(sample.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  testsupport::EnvGuard shortWait("LEDVIA_BUSY_TIMEOUT", "100");
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {
      {folder / "missing.db", "no such file"},
      {folder.WriteFile("notes.txt", "not a database at all, just some text\n"),
       "not a company database"},
      {folder.WriteFile("empty.db", ""), "an empty file"},
      {other, "not a company database"},
      {newer, "schema version 5, newer than this program reads"},
      {folder.MakeFolder("folder.db"), "a folder"},
      {fifo, "not a regular file"},
      {sample, "locked by another process"},
      {view, "no table journal"},
      {column, "no column fixed_assets.name"},
      {older, "no table journal_account_totals"},
      {truncated, "damaged"},
      {flipped, "damaged"},
  };
  ClAccConnect* session = ClAccConnect::Inst();
  for (const auto& c : cases) {
    testsupport::EnvGuard data("LEDVIA_DATA", c.path.c_str());
    StderrCapture capture(folder / "stderr.txt");
    alarm(20);  // an open that blocks ends the test run instead of hanging it
    int rc = session->Initiate();
    alarm(0);
    std::string said = capture.Stop();
    session->Release();
    EXPECT_NE(rc, 0) << c.path;
    EXPECT_TRUE(said.starts_with("ledvia: cannot attach to " + c.path + ": ")) << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
  sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(writer);
}

TEST(LinkSession, AttachWaitsForALockHeldBriefly) {
  testsupport::TempFolder folder;
  const std::string sample = folder / "sample.db";
  std::filesystem::copy_file(SamplePath(), sample);
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(sample.c_str(), &writer), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread release([writer] {
    usleep(300000);
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
  });
  testsupport::EnvGuard data("LEDVIA_DATA", sample.c_str());
  testsupport::EnvGuard wait("LEDVIA_BUSY_TIMEOUT", "10000");
  EXPECT_EQ(ClAccConnect::Inst()->Initiate(), 0);
  ClAccConnect::Inst()->Release();
  release.join();
  sqlite3_close(writer);
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
