#include "ui/remembered_settings.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/temp_folder.h"
#include "ui/whole_file.h"
#include "winport/fault_injection.h"
#include "winport/files.h"

namespace {

constexpr const char* kFile = "Tessaly.env";

// LEDVIA_HOME is a fresh folder, so the settings file is <temp>/Settings/Tessaly.env.
class RememberedSettingsTest : public ::testing::Test {
 protected:
  std::optional<std::string> File() const { return temp_.Read("Settings/Tessaly.env"); }
  void Seed(const std::string& bytes) const { temp_.WriteFile("Settings/Tessaly.env", bytes); }
  bool TemporaryLeft() const { return std::filesystem::exists(temp_ / "Settings/Tessaly.env.tmp"); }

  testsupport::TempFolder temp_;
  testsupport::EnvGuard home_{"LEDVIA_HOME", temp_.path().c_str()};
  winport::ScopedCallFaults faults_;
};

TEST_F(RememberedSettingsTest, FirstWriteMakesOneLineAndTheFolderChain) {
  RememberedSettings settings("user1", 1, 2, kFile);
  EXPECT_FALSE(settings.Read());
  ASSERT_TRUE(settings.Write(4, 9, "C:\\out\\a.xml", 0));
  EXPECT_EQ(File(), "user1/1/2:0/4/9/C:\\out\\a.xml\n");

  // A settings folder two levels below an existing one: both are made.
  const std::string folder = testsupport::WindowsPath(temp_ / "a/b") + "\\";
  RememberedSettings deep("user1", 1, 2, "Moravel.env", folder);
  ASSERT_TRUE(deep.Write(1, 12, "x", 1));
  EXPECT_EQ(temp_.Read("a/b/Moravel.env"), "user1/1/2:1/1/12/x\n");
}

TEST_F(RememberedSettingsTest, RecordsReadBackAsWritten) {
  const struct {
    const char* user;
    std::int32_t first, second, method;
    std::int16_t start, end;
    const char* path;
  } cases[] = {
      {"user1", 1, 1, 0, 4, 3, "C:\\out\\a.xml"},
      {"user2", 1, 1, 1, 1, 12, ""},                                // no path remembered
      {"user3", 1, 7, 0, 2, 2, "\\\\srv\\pub\\a/b:c.xml"},          // '/' and ':' in the path
      {"user4", -1, 2147483647, 1, 12, 12, "C:\\\x95\x5C\\x.xml"},  // trail byte 0x5C
      {"\x8D\xB2\x93\xA1", 1, 1, 0, 1, 1, "D:\\x"},                 // double-byte user id
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(RememberedSettings(c.user, c.first, c.second, kFile)
                    .Write(c.start, c.end, c.path, c.method))
        << c.user;
  }
  for (const auto& c : cases) {
    std::optional<RememberedRecord> record =
        RememberedSettings(c.user, c.first, c.second, kFile).Read();
    ASSERT_TRUE(record) << c.user;
    EXPECT_EQ(record->method, c.method) << c.user;
    EXPECT_EQ(record->startMonth, c.start) << c.user;
    EXPECT_EQ(record->endMonth, c.end) << c.user;
    EXPECT_EQ(record->outputPath, c.path) << c.user;
  }
  EXPECT_FALSE(RememberedSettings("user1", 1, 2, kFile).Read());  // other data of the same user
}

TEST_F(RememberedSettingsTest, RewrittenRecordMovesToTheEndAndOtherLinesKeepTheirBytes) {
  Seed(
      "xuser1/1/2:1/1/1/tail\n"  // a user id that ends in "user1"
      "user1/1/23:1/5/5/longer selection\n"
      "user1/1/2:0/1/2:0/5/7/C:\\prefix.xml\n"  // user "user1/1/2:0", selection 1 and 2
      "user1/1/2:0/4/9/C:\\old.xml\n"
      "not a record \x95\x5C\r\n"
      "user1/1/2:0/6/6/stale duplicate\n"
      "user3/1/2:0/1/2/no line feed");
  RememberedSettings settings("user1", 1, 2, kFile);
  std::optional<RememberedRecord> record = settings.Read();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->outputPath, "C:\\old.xml");
  ASSERT_TRUE(settings.Write(1, 3, "C:\\new.xml", 1));
  EXPECT_EQ(File(),
            "xuser1/1/2:1/1/1/tail\n"
            "user1/1/23:1/5/5/longer selection\n"
            "user1/1/2:0/1/2:0/5/7/C:\\prefix.xml\n"
            "not a record \x95\x5C\r\n"
            "user3/1/2:0/1/2/no line feed\n"
            "user1/1/2:1/1/3/C:\\new.xml\n");
  record = RememberedSettings("user1", 1, 2, kFile).Read();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->endMonth, 3);
}

TEST_F(RememberedSettingsTest, WriteWithoutPathKeepsThePathReadAtStart) {
  const std::string longPath = "C:\\" + std::string(300, 'p');
  const struct {
    const char* seed;
    const char* expected;
    const char* pathRead;
  } cases[] = {
      {"user1/1/2:0/4/9/C:\\kept.xml\n", "user1/1/2:1/1/12/C:\\kept.xml\n", "C:\\kept.xml"},
      {"", "user1/1/2:1/1/12/\n", nullptr},
      // Too few fields: no record, and no line to take away either.
      {"user1/1/2:0/4/9\n", "user1/1/2:0/4/9\nuser1/1/2:1/1/12/\n", nullptr},
  };
  for (const auto& c : cases) {
    Seed(c.seed);
    RememberedSettings settings("user1", 1, 2, kFile);
    std::optional<RememberedRecord> record = settings.Read();
    EXPECT_EQ(record.has_value(), c.pathRead != nullptr) << c.seed;
    if (record) {
      EXPECT_EQ(record->outputPath, c.pathRead);
    }
    ASSERT_TRUE(settings.Write(1, 12, nullptr, 1));
    EXPECT_EQ(File(), c.expected) << c.seed;
  }

  // A path too long for the dialog's buffer is not offered, but not lost either.
  Seed("user1/1/2:0/4/9/" + longPath + "\n");
  RememberedSettings settings("user1", 1, 2, kFile);
  std::optional<RememberedRecord> record = settings.Read();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->outputPath, "");
  ASSERT_TRUE(settings.Write(2, 3, nullptr, 0));
  EXPECT_EQ(File(), "user1/1/2:0/2/3/" + longPath + "\n");

  // A line feed would split the record into two lines, the second one a forged record.
  EXPECT_FALSE(settings.Write(2, 3, "C:\\a\nuser2/1/2:0/1/1/x", 0));
  EXPECT_FALSE(RememberedSettings("a\nb", 1, 2, kFile).Write(2, 3, "C:\\a", 0));
  EXPECT_EQ(File(), "user1/1/2:0/2/3/" + longPath + "\n");
}

TEST_F(RememberedSettingsTest, LongKeysLinesAndFilesDamageNoOtherRecord) {
  // Filler lines take the file past 32,767 and 65,535 bytes, where 16-bit lengths wrap.
  std::string filler;
  for (int i = 0; filler.size() < 70000; ++i) {
    filler += "filler" + std::to_string(i) + "/1/1:0/1/12/C:\\" + std::string(40, 'f') + "\n";
  }
  const struct {
    std::string user;
    std::string path;
    std::size_t fillerBefore;  // bytes of filler before the record's old line
  } cases[] = {
      {std::string(300, 'u'), "C:\\a.xml", 40000},
      {"user1", "C:\\" + std::string(600, 'l'), 100},
      {"user1", "C:\\b.xml", 66000},
  };
  for (const auto& c : cases) {
    std::size_t cut = filler.find('\n', c.fillerBefore) + 1;
    const std::string key = c.user + "/1/2:";
    Seed(filler.substr(0, cut) + key + "0/1/1/old\n" + filler.substr(cut));
    RememberedSettings settings(c.user, 1, 2, kFile);
    std::optional<RememberedRecord> record = settings.Read();
    ASSERT_TRUE(record) << c.fillerBefore;
    EXPECT_EQ(record->outputPath, "old");
    ASSERT_TRUE(settings.Write(4, 5, c.path.c_str(), 1));
    EXPECT_TRUE(File() == filler + key + "1/4/5/" + c.path + "\n") << c.fillerBefore;
  }
}

TEST_F(RememberedSettingsTest, FailureAtAnyStepOfARewriteLeavesTheOldFileWhole) {
  std::string old;
  for (int i = 0; old.size() < 40000; ++i) {
    old += "user" + std::to_string(i) + "/1/2:0/4/9/C:\\out" + std::to_string(i) + ".xml\n";
  }
  const std::string expected = old.substr(old.find('\n') + 1) + "user0/1/2:1/1/3/C:\\n.xml\n";
  for (const char* call :
       {"CreateFileA", "ReadFile", "WriteFile", "FlushFileBuffers", "MoveFileExA"}) {
    int failures = 0;
    for (int after = 0;; ++after) {
      Seed(old);
      winport::InjectCallFault(call, ERROR_DISK_FULL, after);
      bool written = RememberedSettings("user0", 1, 2, kFile).Write(1, 3, "C:\\n.xml", 1);
      winport::ClearCallFaults();
      EXPECT_FALSE(TemporaryLeft()) << call << " " << after;
      if (written) {
        EXPECT_TRUE(File() == expected) << call;  // not printed: 40 kB
        break;
      }
      ++failures;
      ASSERT_TRUE(File() == old) << call << " " << after;
      ASSERT_LT(after, 100) << call;
    }
    EXPECT_GT(failures, 0) << call;
  }

  // A read that fails half way finds nothing rather than a record from part of the file.
  Seed(old);
  winport::InjectCallFault("ReadFile", ERROR_READ_FAULT, 1);
  EXPECT_FALSE(RememberedSettings("user0", 1, 2, kFile).Read());
}

// The record is read without the lock when the lock cannot be had: held by an instance that
// does not let go, or not to be made in a settings folder one may read but not write (tried as
// an unprivileged user, for root may write anywhere).
TEST_F(RememberedSettingsTest, ReadsWithoutTheLockWhereTheLockCannotBeHad) {
  ASSERT_TRUE(RememberedSettings("user1", 1, 2, kFile).Write(4, 9, "C:\\a.xml", 0));
  {
    FileLock stuck;
    ASSERT_TRUE(stuck.Acquire(testsupport::WindowsPath(temp_ / "Settings/Tessaly.env.lock"), 0));
    std::optional<RememberedRecord> record = RememberedSettings("user1", 1, 2, kFile).Read();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->endMonth, 9);
  }
  ASSERT_TRUE(std::filesystem::remove(temp_ / "Settings/Tessaly.env.lock"));

  namespace fs = std::filesystem;
  const std::string settings = temp_ / "Settings";
  fs::permissions(temp_.path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  constexpr int kCannotTry = 77;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const uid_t nobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                           setresuid(nobody, nobody, nobody) != 0)) {
      _exit(kCannotTry);
    }
    if (access(settings.c_str(), W_OK) == 0 || access((settings + "/Tessaly.env").c_str(), R_OK)) {
      _exit(kCannotTry);
    }
    std::optional<RememberedRecord> record = RememberedSettings("user1", 1, 2, kFile).Read();
    _exit(record && record->startMonth == 4 && record->outputPath == "C:\\a.xml" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  fs::permissions(settings, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_FALSE(fs::exists(settings + "/Tessaly.env.lock"));
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotTry) GTEST_SKIP() << "cannot drop to a user without write";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(RememberedSettingsTest, TwoProcessesRewritingAtOnceLoseNoRecord) {
  constexpr int kRewrites = 200;
  constexpr int kRecords = 100;  // each written twice: once new, once moved to the end
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      bool ok = true;
      for (int i = 0; i < kRewrites; ++i) {
        std::string user = "p" + std::to_string(p) + "u" + std::to_string(i % kRecords);
        std::string path = "C:\\" + user + ".xml";
        ok = RememberedSettings(user, 1, 2, kFile)
                 .Write(1, i < kRecords ? 6 : 12, path.c_str(), 0) &&
             ok;
      }
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::map<std::string, int> lines;
  std::string content = File().value_or("");
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    ++lines[content.substr(start, end - start)];
    start = end + 1;
  }
  EXPECT_EQ(lines.size(), 2u * kRecords);
  for (int p = 0; p < 2; ++p) {
    for (int r = 0; r < kRecords; ++r) {
      std::string user = "p" + std::to_string(p) + "u" + std::to_string(r);
      EXPECT_EQ(lines[user + "/1/2:0/1/12/C:\\" + user + ".xml"], 1) << user;
    }
  }
}

}  // namespace
