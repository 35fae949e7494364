// Start-up of the edition programs as the accounting product starts them: through
// ledvia-host, which plays the caller's window and prints what it receives.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/e2e/host_run.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using e2e::BinDir;
using e2e::HostRun;
using e2e::RunHost;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// A program folder of its own: a copy of an edition program and, when given, its definition
// file. The session attaches to the bundled sample company data.
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* ini, const std::string& subfolder = "",
                         const char* edition = "moravel") {
    folder_ = subfolder.empty() ? temp_.path() : temp_.MakeFolder(subfolder);
    program_ = folder_ + "/" + edition;
    fs::copy_file(BinDir() + "/" + edition, program_);
    if (ini != nullptr)
      temp_.WriteFile(fs::relative(folder_ + "/QuillonDef.ini", temp_.path()), ini);
  }
  const std::string& program() const { return program_; }
  const std::string& root() const { return temp_.path(); }

 private:
  testsupport::TempFolder temp_;
  std::string folder_;
  std::string program_;
};

const std::string kSample = e2e::SampleDatabase();
// The conditions dialog was reached and, with no input, cancelled.
const std::string kCancelNotice = U8(u8"｢消費税｣の集計を中止します。");
const char kLevel2[] = "[ProgramLevel]\r\nSY31=2\r\n";

}  // namespace

TEST(StartupEndToEnd, DefinitionFileOutcomesReachTheCaller) {
  {
    ProgramFolder folder(nullptr);
    HostRun run = RunHost(kSample, "", folder.program());
    EXPECT_TRUE(run.Has(U8(u8"動作環境が不正です。"))) << run.output;
    EXPECT_TRUE(run.Has("lparam=2")) << run.output;
    EXPECT_EQ(run.exitCode, 2);
  }
  {
    ProgramFolder folder("[ProgramLevel]\r\nSY31=1\r\n");
    HostRun run = RunHost(kSample, "", folder.program());
    EXPECT_TRUE(run.Has(U8(u8"の最新版を入手してインストールしてからご利用ください。")))
        << run.output;
    EXPECT_TRUE(run.Has("ES_APRPACKAGENAME")) << run.output;
    EXPECT_EQ(run.exitCode, 2) << run.output;
  }
  {
    ProgramFolder folder("[ProgramLevel]\r\nSY31=2x\r\n");
    HostRun run = RunHost(kSample, "", folder.program());
    EXPECT_EQ(run.BoxCount(), 1) << run.output;  // only the dialog's own cancel notice
    EXPECT_TRUE(run.Has(kCancelNotice)) << run.output;
    EXPECT_TRUE(run.Has("posted message=1024 wparam=1 lparam=1")) << run.output;
    EXPECT_EQ(run.exitCode, 1);
  }
}

TEST(StartupEndToEnd, LinkCheckRefusalsAndFunctionIdentifier) {
  ProgramFolder folder(kLevel2);
  HostRun refused = RunHost(kSample + " LEDVIA_EXPSYSLINK=1", "", folder.program());
  EXPECT_TRUE(refused.Has("lparam=1")) << refused.output;
  EXPECT_EQ(refused.exitCode, 1);
  HostRun failed = RunHost(kSample + " LEDVIA_EXPSYSLINK=5", "", folder.program());
  EXPECT_TRUE(failed.Has("lparam=2")) << failed.output;
  EXPECT_EQ(failed.exitCode, 2);
  HostRun wrapped = RunHost(kSample, "--message 2000 --function-id 40000", folder.program());
  EXPECT_TRUE(wrapped.Has("posted message=2000 wparam=-25536 lparam=1")) << wrapped.output;
}

TEST(StartupEndToEnd, CallerWindowIsDisabledThenNotifiedInOrder) {
  ProgramFolder folder(kLevel2);
  HostRun run = RunHost(kSample, "", folder.program());
  std::size_t disabled = run.output.find("enable=0");
  std::size_t foreground = run.output.find("foreground window=");
  std::size_t enabled = run.output.find("enable=1");
  std::size_t posted = run.output.find("posted message=");
  std::size_t enabledAgain = run.output.rfind("enable=1");
  ASSERT_NE(disabled, std::string::npos) << run.output;
  ASSERT_NE(posted, std::string::npos) << run.output;
  EXPECT_LT(disabled, foreground);
  EXPECT_LT(foreground, enabled);
  EXPECT_LT(enabled, posted);
  EXPECT_GT(enabledAgain, posted);
}

TEST(StartupEndToEnd, NoSessionOrNoHandshakeMeansNoNotification) {
  ProgramFolder folder(kLevel2);
  HostRun noDatabase = RunHost("LEDVIA_DATA=/nonexistent/company.db", "", folder.program());
  EXPECT_TRUE(noDatabase.Has("no message")) << noDatabase.output;
  EXPECT_FALSE(noDatabase.Has("enable=")) << noDatabase.output;  // handshake never read
  EXPECT_EQ(noDatabase.exitCode, 99);

  testsupport::TempFolder junk;
  std::string notADatabase = junk.WriteFile("junk.db", "this is not a company database");
  HostRun junkRun = RunHost("LEDVIA_DATA='" + notADatabase + "'", "", folder.program());
  EXPECT_EQ(junkRun.exitCode, 99) << junkRun.output;

  HostRun noComma = RunHost(kSample, "--no-comma", folder.program());
  EXPECT_TRUE(noComma.Has("no message")) << noComma.output;
  EXPECT_FALSE(noComma.Has("enable=")) << noComma.output;
  EXPECT_EQ(noComma.exitCode, 99);
}

TEST(StartupEndToEnd, ProgramFolderEndingInKatakanaSoFindsItsDefinitionFile) {
  // The folder's Windows name ends in 0x83 0x5C; without the separator the file name would be
  // glued onto the folder name and the -1 message would appear.
  ProgramFolder folder(kLevel2, U8(u8"連動ソ"));
  HostRun run = RunHost(kSample, "", folder.program());
  EXPECT_FALSE(run.Has(U8(u8"動作環境が不正です。"))) << run.output;
  EXPECT_TRUE(run.Has(kCancelNotice)) << run.output;
}

TEST(StartupEndToEnd, ARelativeWindowFolderStillReachesTheCaller) {
  // The program moves to its own folder at start-up; the relative window folder it inherited
  // from the caller must keep naming the caller's, or the caller waits with its window disabled.
  ProgramFolder folder(kLevel2);
  testsupport::TempFolder callerFolder;
  HostRun run =
      RunHost("WINPORT_WINDOW_DIR=windows " + kSample, "", folder.program(), callerFolder.path());
  EXPECT_TRUE(run.Has(kCancelNotice)) << run.output;
  EXPECT_TRUE(run.Has("posted message=1024 wparam=1 lparam=1")) << run.output;
}

TEST(StartupEndToEnd, AProgramFolderReachedOnlyThroughAShareFindsItsDefinitionFile) {
  ProgramFolder folder(kLevel2);
  std::string programFolder = fs::path(folder.program()).parent_path().string();
  HostRun run =
      RunHost(kSample + " WINPORT_DRIVES='Z=' WINPORT_SHARES='srv\\bin=" + programFolder + "'", "",
              folder.program());
  EXPECT_FALSE(run.Has(U8(u8"動作環境が不正です。"))) << run.output;
  EXPECT_TRUE(run.Has(kCancelNotice)) << run.output;
}

TEST(StartupEndToEnd, OneBadDriveMapEntryCostsNoOtherEntry) {
  // A malformed share entry beside a valid drive map that alone reaches the program folder.
  ProgramFolder folder(kLevel2);
  std::string programFolder = fs::path(folder.program()).parent_path().string();
  HostRun run =
      RunHost(kSample + " WINPORT_DRIVES='Z=;P=" + programFolder + "' WINPORT_SHARES='broken'", "",
              folder.program());
  EXPECT_TRUE(run.Has("WINPORT_SHARES: \"broken\"")) << run.output;  // warned about
  EXPECT_FALSE(run.Has(U8(u8"動作環境が不正です。"))) << run.output;
  EXPECT_TRUE(run.Has(kCancelNotice)) << run.output;
}

// A program that cannot make its own folder the current directory must not read the definition
// file of the folder it was started in: the name of its folder has no code page 932 form, or
// its path does not fit 260 bytes.
TEST(StartupEndToEnd, ProgramFolderThatCannotBeEnteredCountsAsNoDefinitionFile) {
  const std::string deep = std::string(60, 'd') + "/" + std::string(60, 'e') + "/" +
                           std::string(60, 'f') + "/" + std::string(60, 'g');
  for (const std::string& subfolder : {U8(u8"連動😀"), deep}) {
    ProgramFolder folder(kLevel2, subfolder);
    // A path cut at 260 bytes ends in one of the folders above the program's: each of them
    // holds a definition file too, so reading any of them would pass.
    for (fs::path above = fs::path(folder.program()).parent_path().parent_path();
         above != fs::path(folder.root()); above = above.parent_path()) {
      std::FILE* ini = std::fopen((above / "QuillonDef.ini").c_str(), "wb");
      ASSERT_NE(ini, nullptr);
      std::fputs(kLevel2, ini);
      std::fclose(ini);
    }
    testsupport::TempFolder startedIn;
    startedIn.WriteFile("QuillonDef.ini", kLevel2);
    HostRun run = RunHost(kSample, "", folder.program(), startedIn.path());
    EXPECT_TRUE(run.Has(U8(u8"動作環境が不正です。"))) << subfolder << run.output;
    EXPECT_TRUE(run.Has("lparam=2")) << subfolder << run.output;
  }
}

TEST(StartupEndToEnd, EditionProgramsCarryTheirVersionBlock) {
  struct Case {
    const char* program;
    std::string description;
  };
  const Case cases[] = {
      {"moravel", U8(u8"Moravel (Arvelle edition)")},
      {"tessaly", U8(u8"Tessaly (standard edition)")},
      {"brenwick", U8(u8"Brenwick (Tiverno edition)")},
  };
  for (const Case& c : cases) {
    std::FILE* file = std::fopen((BinDir() + "/" + c.program).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    std::fclose(file);
    static const char kBlock[] = "FileVersion=20.0.1.0\0ProductVersion=20.01.00\0";
    const std::string block(kBlock, sizeof kBlock - 1);
    EXPECT_NE(bytes.find(block), std::string::npos) << c.program;
    EXPECT_NE(bytes.find(c.description), std::string::npos) << c.program;
  }
}
