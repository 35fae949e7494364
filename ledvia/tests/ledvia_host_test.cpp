// ledvia-host driven end to end: real child processes, real windows, scripted with /bin/sh and
// winport-post.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string BinDir() {
  const char* dir = std::getenv("QL_BIN_DIR");
  return dir != nullptr ? dir : fs::read_symlink("/proc/self/exe").parent_path().string();
}

struct HostRun {
  std::vector<std::string> lines;  // standard output
  int status = -1;
};

class LedviaHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ledvia-host-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // An executable shell script; $POST is winport-post.
  std::string Script(const std::string& name, const std::string& body) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path) << "#!/bin/sh\nPOST='" << BinDir() << "/winport-post'\n" << body;
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }

  HostRun Host(std::vector<std::string> args, const std::string& input = "") {
    std::string in = dir_ + "/stdin", out = dir_ + "/stdout";
    std::ofstream(in) << input;
    args.insert(args.begin(), BinDir() + "/ledvia-host");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    HostRun run;
    pid_t pid;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream output(out);
    for (std::string line; std::getline(output, line);) run.lines.push_back(line);
    return run;
  }

  std::string dir_;
};

constexpr const char* kParseHandshake = "IFS=, read -r w m f rest <<END\n$1\nEND\n";

TEST_F(LedviaHostTest, PassesTheHandshakeAndExtraArguments) {
  struct Case {
    std::vector<std::string> options;
    std::string afterWindow;  // the handshake after "W"; for --raw the whole argument
    bool raw;
  };
  const Case cases[] = {
      {{}, ",1024,1,", false},
      {{"--message", "456", "--function-id", "7", "--output", "C:\\out,put\\a.xml"},
       ",456,7,C:\\out,put\\a.xml",
       false},
      {{"--function-id", "40000"}, ",1024,40000,", false},
      {{"--no-comma"}, ",1024,1", false},
      {{"--raw", "123,456"}, "123,456", true},
  };
  std::string child = Script("args.sh", "printf 'arg=%s\\n' \"$@\"\n");
  for (const Case& c : cases) {
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--", child, "extra one", "two"});
    HostRun run = Host(args);
    EXPECT_EQ(run.status, 99);
    ASSERT_EQ(run.lines.size(), 4u);
    std::string handshake = run.lines[0].substr(4);
    if (c.raw) {
      EXPECT_EQ(handshake, c.afterWindow);
    } else {
      std::size_t comma = handshake.find(',');
      EXPECT_GT(std::atol(handshake.substr(0, comma).c_str()), 0) << handshake;
      EXPECT_EQ(handshake.substr(0, comma).find_first_not_of("0123456789"), std::string::npos);
      EXPECT_EQ(handshake.substr(comma), c.afterWindow);
    }
    EXPECT_EQ(run.lines[1], "arg=extra one");
    EXPECT_EQ(run.lines[2], "arg=two");
    EXPECT_EQ(run.lines[3], "no message");
  }
}

TEST_F(LedviaHostTest, ReportsWhatTheProgramDidToTheCallerWindow) {
  struct Case {
    std::string functionId;
    std::string result;
    std::string posted;
    int status;
  };
  const Case cases[] = {
      {"7", "0", "posted message=1024 wparam=7 lparam=0", 0},
      {"1", "2", "posted message=1024 wparam=1 lparam=2", 2},
      {"-25536", "-1", "posted message=1024 wparam=-25536 lparam=-1", 255},
  };
  // Disabled at start, then the caller notification of an exporter's end.
  std::string child = Script("notify.sh", std::string(kParseHandshake) +
                                              "echo \"window=$w\"\n"
                                              "\"$POST\" --enable \"$w\" 0\n"
                                              "\"$POST\" --notify \"$w\" \"$m\" \"$f\" \"$2\"\n");
  for (const Case& c : cases) {
    HostRun run = Host({"--function-id", c.functionId, "--", child, c.result});
    EXPECT_EQ(run.status, c.status);
    ASSERT_EQ(run.lines.size(), 6u);
    std::string window = run.lines[0].substr(7);
    const std::vector<std::string> expected = {
        "window=" + window,
        "enable window=" + window + " enable=0",
        "foreground window=" + window,
        "enable window=" + window + " enable=1",
        c.posted,
        "enable window=" + window + " enable=1",
    };
    EXPECT_EQ(run.lines, expected);
  }
}

TEST_F(LedviaHostTest, EveryPostIsOneLineAndTheFirstGivesTheExitStatus) {
  std::string child = Script("twice.sh", std::string(kParseHandshake) +
                                             "\"$POST\" \"$w\" 1025 0 3\n"
                                             "\"$POST\" \"$w\" 1026 0 4\n");
  HostRun run = Host({"--", child});
  EXPECT_EQ(run.status, 3);
  const std::vector<std::string> expected = {"posted message=1025 wparam=0 lparam=3",
                                             "posted message=1026 wparam=0 lparam=4"};
  EXPECT_EQ(run.lines, expected);
}

TEST_F(LedviaHostTest, StandardInputReachesTheProgram) {
  std::string child = Script("answer.sh", "read -r answer\necho \"got=$answer\"\n");
  HostRun run = Host({"--", child}, "y\nrest\n");
  const std::vector<std::string> expected = {"got=y", "no message"};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.status, 99);
}

TEST_F(LedviaHostTest, BadUsageAndProgramsThatCannotStart) {
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{}, 64},
      {{"--"}, 64},
      {{"--message", "abc", "--", "true"}, 64},
      {{"--function-id"}, 64},
      {{"--bogus", "--", "true"}, 64},
      {{"--no-comma", "--output", "x", "--", "true"}, 64},
      {{"--", dir_ + "/missing"}, 127},
      {{"--", dir_}, 127},  // a folder is not a program
  };
  for (const Case& c : cases) {
    HostRun run = Host(c.args);
    EXPECT_EQ(run.status, c.status) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_TRUE(run.lines.empty());
  }
}

}  // namespace
