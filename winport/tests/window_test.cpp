#include "winport/window.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/window_folder.h"

namespace {

using Kind = winport::WindowEvent::Kind;

// Every test gets its own window folder through WINPORT_WINDOW_DIR, as a user's session would.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/winport-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    folder_ = root_ + "/windows";
    setenv("WINPORT_WINDOW_DIR", folder_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WINPORT_WINDOW_DIR");
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(root_);
  }

  std::unique_ptr<winport::WindowRegistration> Register() {
    std::string error;
    auto window = winport::WindowRegistration::Create(&error);
    EXPECT_NE(window, nullptr) << error;
    return window;
  }

  // A socket file left behind by a process that died without unregistering.
  void LeaveStaleSocket(long handle) {
    int s = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = winport::WindowSocketPath(folder_, handle);
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(s);
  }

  std::string root_;
  std::string folder_;
};

TEST_F(WindowTest, PostedMessageArrivesWithItsParameters) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindow(window->Handle()));
  EXPECT_EQ(PostMessageA(window->Handle(), WM_USER + 5, 7, 2), TRUE);
  auto event = window->Receive(2000);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->kind, Kind::Posted);
  EXPECT_EQ(event->message, WM_USER + 5);
  EXPECT_EQ(event->wParam, 7u);
  EXPECT_EQ(event->lParam, 2);
  EXPECT_FALSE(window->Receive(0));
}

TEST_F(WindowTest, ParametersKeepAllSixtyFourBits) {
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  // A function identifier stored in 16 bits and sign-extended, results, and the extremes.
  const Case cases[] = {
      {WM_USER, static_cast<WPARAM>(static_cast<LPARAM>(std::int16_t(-25536))), 0},
      {0, 0, -1},
      {UINT_MAX, UINTPTR_MAX, INTPTR_MIN},
      {456, 0x123456789ABCDEF0u, INTPTR_MAX},
  };
  auto window = Register();
  ASSERT_NE(window, nullptr);
  for (const Case& c : cases) {
    ASSERT_EQ(PostMessageA(window->Handle(), c.message, c.wParam, c.lParam), TRUE);
  }
  for (const Case& c : cases) {
    auto event = window->Receive(2000);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->message, c.message);
    EXPECT_EQ(event->wParam, c.wParam);
    EXPECT_EQ(event->lParam, c.lParam);
  }
}

TEST_F(WindowTest, HandlesNobodyRegisteredAreNotWindows) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  long live = HwndToNumber(window->Handle());
  window.reset();  // unregistered: its handle no longer names a window
  const long handles[] = {0, -1, 0xFFFF, live, 0x7FFFFFFF, 0x80000000L, 0x100000000L + live};
  for (long handle : handles) {
    HWND hwnd = HwndFromNumber(handle);
    EXPECT_FALSE(IsWindow(hwnd)) << handle;
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 1, 0)) << handle;
    EXPECT_FALSE(SetForegroundWindow(hwnd)) << handle;
    EXPECT_FALSE(EnableWindow(hwnd, FALSE)) << handle;
  }
  EXPECT_FALSE(std::filesystem::exists(winport::WindowSocketPath(folder_, live)));
  EXPECT_FALSE(std::filesystem::exists(winport::WindowDisabledPath(folder_, live)));
}

TEST_F(WindowTest, RegistrationsGetDistinctHandlesThatSurviveAtol) {
  std::vector<std::unique_ptr<winport::WindowRegistration>> windows;
  std::set<long> handles;
  for (int i = 0; i < 20; ++i) {
    windows.push_back(Register());
    ASSERT_NE(windows.back(), nullptr);
    long handle = HwndToNumber(windows.back()->Handle());
    EXPECT_GT(handle, 0);
    EXPECT_LE(handle, INT32_MAX);
    handles.insert(handle);
  }
  EXPECT_EQ(handles.size(), windows.size());
  // A message reaches only the window it was posted to.
  ASSERT_TRUE(PostMessageA(windows[3]->Handle(), WM_USER, 3, 0));
  EXPECT_FALSE(windows[2]->Receive(0));
  EXPECT_TRUE(windows[3]->Receive(2000));
}

TEST_F(WindowTest, EnableWindowReturnsThePreviousStateAndEveryCallIsDelivered) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  HWND hwnd = window->Handle();
  struct Step {
    BOOL enable;
    bool wasDisabled;
  };
  // Starts enabled; enabling twice in a row is still delivered twice.
  const Step steps[] = {{TRUE, false}, {FALSE, false}, {FALSE, true}, {TRUE, true}, {TRUE, false}};
  for (const Step& step : steps) {
    EXPECT_EQ(EnableWindow(hwnd, step.enable) != FALSE, step.wasDisabled);
    auto event = window->Receive(2000);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, Kind::Enable);
    EXPECT_EQ(event->enable, step.enable != FALSE);
  }
  EXPECT_EQ(SetForegroundWindow(hwnd), TRUE);
  auto event = window->Receive(2000);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->kind, Kind::Foreground);
}

TEST_F(WindowTest, StaleSocketsOfDeadProcessesAreNotWindowsAndAreSweptAway) {
  ASSERT_EQ(winport::PrepareWindowFolder(folder_), "");
  LeaveStaleSocket(70000);
  std::FILE* marker = std::fopen(winport::WindowDisabledPath(folder_, 70000).c_str(), "w");
  std::fclose(marker);
  EXPECT_FALSE(IsWindow(HwndFromNumber(70000)));
  EXPECT_FALSE(PostMessageA(HwndFromNumber(70000), WM_USER, 0, 0));
  auto window = Register();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(std::filesystem::exists(winport::WindowSocketPath(folder_, 70000)));
  EXPECT_FALSE(std::filesystem::exists(winport::WindowDisabledPath(folder_, 70000)));
  EXPECT_TRUE(
      std::filesystem::exists(winport::WindowSocketPath(folder_, HwndToNumber(window->Handle()))));
}

TEST_F(WindowTest, MalformedDatagramsAreDropped) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  int s = socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path,
              winport::WindowSocketPath(folder_, HwndToNumber(window->Handle())).c_str());
  const std::string junk[] = {"", "hello", std::string(32, 'x'), std::string(33, '\0')};
  for (const std::string& datagram : junk) {
    ASSERT_EQ(sendto(s, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&address),
                     sizeof address),
              static_cast<ssize_t>(datagram.size()));
  }
  close(s);
  ASSERT_TRUE(PostMessageA(window->Handle(), WM_USER, 9, 9));
  auto event = window->Receive(2000);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->wParam, 9u);
}

TEST_F(WindowTest, AFullQueueFailsThePostInsteadOfBlocking) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  // Post until the queue refuses; every accepted post must then be received, in order.
  int accepted = 0;
  while (accepted < 100000 && PostMessageA(window->Handle(), WM_USER, accepted, 0)) ++accepted;
  ASSERT_LT(accepted, 100000);
  for (int i = 0; i < accepted; ++i) {
    auto event = window->Receive(2000);
    ASSERT_TRUE(event) << i;
    EXPECT_EQ(event->wParam, static_cast<WPARAM>(i));
  }
  EXPECT_FALSE(window->Receive(0));
}

TEST_F(WindowTest, FoldersOthersCouldReachAreRefused) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    mode_t mode;  // 0: not a plain folder, see below
    bool trusted;
  };
  const Case cases[] = {
      {"private", 0700, true}, {"group", 0750, false}, {"others", 0701, false},
      {"open", 0777, false},   {"symlink", 0, false},  {"file", 0, false},
  };
  for (const Case& c : cases) {
    std::string path = root_ + "/" + c.name;
    if (c.mode != 0) {
      fs::create_directory(path);
      chmod(path.c_str(), c.mode);
    } else if (std::string(c.name) == "symlink") {
      fs::create_directory(root_ + "/target");
      chmod((root_ + "/target").c_str(), 0700);
      fs::create_directory_symlink(root_ + "/target", path);
    } else if (std::string(c.name) == "file") {
      std::fclose(std::fopen(path.c_str(), "w"));
    }
    EXPECT_EQ(winport::CheckWindowFolder(path).empty(), c.trusted) << c.name;
    std::string error;
    auto window = winport::WindowRegistration::CreateIn(path, &error);
    EXPECT_EQ(window != nullptr, c.trusted) << c.name;
    EXPECT_EQ(error.empty(), c.trusted) << c.name << ": " << error;
  }
}

TEST_F(WindowTest, AMissingFolderIsCreatedPrivateWhenItsParentExists) {
  EXPECT_EQ(winport::PrepareWindowFolder(root_ + "/new"), "");
  struct stat info;
  ASSERT_EQ(stat((root_ + "/new").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_NE(winport::PrepareWindowFolder(root_ + "/no/such"), "");
}

TEST_F(WindowTest, AFolderTooDeepForASocketIsRefusedBeforeItIsMade) {
  std::string deep = root_ + "/" + std::string(100, 'd');
  std::string error;
  EXPECT_EQ(winport::WindowRegistration::CreateIn(deep, &error), nullptr);
  EXPECT_NE(error.find("too long"), std::string::npos) << error;
  struct stat info;
  EXPECT_NE(stat(deep.c_str(), &info), 0);  // nothing left behind
}

TEST_F(WindowTest, AFolderOwnedBySomeoneElseIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder away";
  std::string path = root_ + "/foreign";
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  EXPECT_NE(winport::CheckWindowFolder(path).find("belongs to user 65534"), std::string::npos);
}

TEST_F(WindowTest, SendersRefuseAFolderThatWasOpenedUp) {
  auto window = Register();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(chmod(folder_.c_str(), 0755), 0);
  EXPECT_FALSE(IsWindow(window->Handle()));
  EXPECT_FALSE(PostMessageA(window->Handle(), WM_USER, 0, 0));
  EXPECT_FALSE(window->Receive(0));
}

TEST(WindowFolder, ExplicitFolderThenRuntimeFolderThenTmp) {
  struct Case {
    const char* explicitFolder;
    const char* runtime;
    std::string expected;
  };
  const std::string tmp = "/tmp/winport-" + std::to_string(getuid());
  const Case cases[] = {
      {"/a/b", "/run/user/5", "/a/b"},
      {"", "/run/user/5", "/run/user/5/winport"},
      {nullptr, "relative", tmp},
      {nullptr, nullptr, tmp},
  };
  const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
  std::string saved = savedRuntime ? savedRuntime : "";
  for (const Case& c : cases) {
    c.explicitFolder ? setenv("WINPORT_WINDOW_DIR", c.explicitFolder, 1)
                     : unsetenv("WINPORT_WINDOW_DIR");
    c.runtime ? setenv("XDG_RUNTIME_DIR", c.runtime, 1) : unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(winport::WindowFolder(), c.expected);
  }
  unsetenv("WINPORT_WINDOW_DIR");
  savedRuntime ? setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}

// The program moves to its own folder at start-up; a relative folder handed down by the caller
// must still name the caller's folder, or the caller's notification is lost.
TEST(WindowFolder, ARelativeFolderCountsFromWhereTheProcessStarted) {
  testsupport::CurrentDirectoryGuard cwd;
  char* start = getcwd(nullptr, 0);
  std::string startFolder = start;
  std::free(start);
  testsupport::EnvGuard folder("WINPORT_WINDOW_DIR", "windows/here");
  ASSERT_EQ(chdir("/"), 0);
  EXPECT_EQ(winport::WindowFolder(), startFolder + "/windows/here");
}

}  // namespace
