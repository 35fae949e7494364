#include "winport/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"
#include "winport/drive_map.h"

namespace {

using testsupport::Utf8;

// C: is a fresh temporary folder; the share \\srv\pub is its folder "share".
class FilesTest : public ::testing::Test {
 protected:
  FilesTest() : maps_(MakeMap(temp_)) {}

  static winport::DriveMap MakeMap(const testsupport::TempFolder& temp) {
    winport::DriveMap map = testsupport::DriveCOn(temp);
    map.SetShare("srv", "pub", temp.MakeFolder("share"));
    return map;
  }

  // Opens, writes and closes; true when all of it worked.
  static bool WriteWhole(const char* path, const std::string& bytes) {
    HANDLE h =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return CloseHandle(h) && ok && written == bytes.size();
  }

  testsupport::TempFolder temp_;
  testsupport::CurrentDirectoryGuard cwd_;
  testsupport::DriveMapGuard maps_;
};

TEST_F(FilesTest, WrittenBytesReadBackWithSizeAndEndOfFile) {
  const std::string bytes = "<?xml?>\r\n\x8F\xC1\x94\xEF\x90\xC5";
  ASSERT_TRUE(WriteWhole("C:\\out.xml", bytes));
  EXPECT_EQ(temp_.Read("out.xml"), bytes);

  HANDLE h =
      CreateFileA("c:/OUT.XML", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(h, &high), bytes.size());
  EXPECT_EQ(high, 0u);
  char buffer[64];
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), bytes);
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u);  // end of file is success with nothing read
  EXPECT_FALSE(WriteFile(h, "x", 1, &read, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReadFile(h, buffer, 1, &read, nullptr));
}

TEST_F(FilesTest, DispositionsCreateOpenAndTruncateAsWindows) {
  const struct {
    bool exists;
    DWORD disposition;
    bool opens;
    DWORD error;
    const char* after;  // nullptr: no file
  } cases[] = {
      {false, CREATE_NEW, true, ERROR_SUCCESS, ""},
      {true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
      {false, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
      {true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
      {false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
      {true, OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
      {false, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
      {true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
      {false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
      {true, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
  };
  for (const auto& c : cases) {
    unlink((temp_ / "f.txt").c_str());
    if (c.exists) temp_.WriteFile("f.txt", "old");
    SetLastError(12345);
    HANDLE h = CreateFileA("C:\\f.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, 0,
                           nullptr);
    DWORD error = GetLastError();
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.disposition << " " << c.exists;
    EXPECT_EQ(error, c.error) << c.disposition << " " << c.exists;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    std::optional<std::string> after = temp_.Read("f.txt");
    EXPECT_EQ(after.has_value(), c.after != nullptr) << c.disposition << " " << c.exists;
    if (after && c.after) {
      EXPECT_EQ(*after, c.after) << c.disposition << " " << c.exists;
    }
  }
}

TEST_F(FilesTest, OpeningFailuresGiveWindowsCodes) {
  temp_.MakeFolder("dir");
  temp_.WriteFile("ro.txt", "r");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  const struct {
    const char* path;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {"C:\\missing\\f.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"Q:\\f.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"\\\\nobody\\pub\\f.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_BAD_NETPATH},
      {"C:\\dir", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {"C:\\new.txt\\", GENERIC_WRITE, CREATE_ALWAYS, ERROR_INVALID_NAME},
      {"C:\\a?.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_INVALID_NAME},
      {"C:\\ro.txt", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},  // even for root
      {"C:\\ro.txt", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
      {"C:\\f.txt", GENERIC_WRITE, 0, ERROR_INVALID_PARAMETER},
      {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CreateFileA(c.path, c.access, 0, nullptr, c.disposition, 0, nullptr),
              INVALID_HANDLE_VALUE)
        << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  std::string tooLong = "C:\\" + std::string(MAX_PATH, 'a');
  EXPECT_EQ(CreateFileA(tooLong.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(temp_.Read("ro.txt"), "r");
}

TEST_F(FilesTest, ShareModesRefuseConflictingHandlesBeforeAnyChange) {
  constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE;
  constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
  const struct {
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool allowed;
  } cases[] = {
      {W, 0, R, SR | SW, false},      {R, SR, R, SR, true},  {R, SR, W, SR | SW, false},
      {R, SR | SW, W, SR | SW, true}, {W, SR, R, SR, false}, {W, SR | SW, R, SR | SW, true},
      {R, SR, R, 0, false},
  };
  temp_.WriteFile("s.txt", "keep");
  for (const auto& c : cases) {
    HANDLE first =
        CreateFileA("C:\\s.txt", c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second =
        CreateFileA("C:\\S.TXT", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed)
        << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/"
        << c.secondShare;
    if (second != INVALID_HANDLE_VALUE) {
      CloseHandle(second);
    } else {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    }
    CloseHandle(first);
  }

  // A refused CREATE_ALWAYS leaves the contents alone; once the holder closes, it works.
  HANDLE holder = CreateFileA("C:\\s.txt", R, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteWhole("C:\\s.txt", "new"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(temp_.Read("s.txt"), "keep");
  EXPECT_FALSE(DeleteFileA("C:\\s.txt"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(holder);
  EXPECT_TRUE(WriteWhole("C:\\s.txt", "new"));
}

TEST_F(FilesTest, NoSharingIsAnAdvisoryLockSeenByOtherProcesses) {
  temp_.WriteFile("x.txt", "x");
  // An opening outside the handle table stands for another process.
  int other = open((temp_ / "x.txt").c_str(), O_RDONLY);
  ASSERT_GE(other, 0);

  HANDLE h = CreateFileA("C:\\x.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_NE(flock(other, LOCK_SH | LOCK_NB), 0);  // held exclusively
  CloseHandle(h);
  EXPECT_EQ(flock(other, LOCK_SH | LOCK_NB), 0);  // released, and now the other one holds it

  h = CreateFileA("C:\\x.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  h = CreateFileA("C:\\x.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);  // a shared lock goes with a shared one
  CloseHandle(h);

  flock(other, LOCK_UN);
  flock(other, LOCK_EX);
  EXPECT_FALSE(DeleteFileA("C:\\x.txt"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  close(other);
  EXPECT_TRUE(DeleteFileA("C:\\x.txt"));
}

BOOL MakeFolder(LPCSTR path) { return CreateDirectoryA(path, nullptr); }

TEST_F(FilesTest, FoldersAndDeletionFollowWindowsRules) {
  temp_.WriteFile("file.txt", "f");
  temp_.WriteFile("ro.txt", "r");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  temp_.MakeFolder("here");
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\here"));
  const struct {
    BOOL (*call)(LPCSTR);
    const char* path;
    DWORD error;  // 0: succeeds
  } steps[] = {
      {MakeFolder, "C:\\d", 0},
      {MakeFolder, "C:\\D\\", ERROR_ALREADY_EXISTS},
      {MakeFolder, "C:\\file.txt", ERROR_ALREADY_EXISTS},
      {MakeFolder, "C:\\no\\sub", ERROR_PATH_NOT_FOUND},
      {MakeFolder, "C:\\", ERROR_ACCESS_DENIED},
      {MakeFolder, "C:\\d\\e\\", 0},
      {RemoveDirectoryA, "C:\\d", ERROR_DIR_NOT_EMPTY},
      {RemoveDirectoryA, "C:\\file.txt", ERROR_DIRECTORY},
      {RemoveDirectoryA, "C:\\d\\none", ERROR_FILE_NOT_FOUND},
      {RemoveDirectoryA, "C:\\d\\e", 0},
      {RemoveDirectoryA, "C:\\d", 0},
      {RemoveDirectoryA, "C:\\here", ERROR_SHARING_VIOLATION},  // the current directory
      {DeleteFileA, "C:\\file.txt", 0},
      {DeleteFileA, "C:\\file.txt", ERROR_FILE_NOT_FOUND},
      {DeleteFileA, "C:\\none\\file.txt", ERROR_PATH_NOT_FOUND},
      {DeleteFileA, "C:\\share", ERROR_ACCESS_DENIED},
      {DeleteFileA, "C:\\ro.txt", ERROR_ACCESS_DENIED},
  };
  for (const auto& s : steps) {
    SetLastError(0);
    EXPECT_EQ(s.call(s.path) != FALSE, s.error == 0) << s.path;
    EXPECT_EQ(GetLastError(), s.error) << s.path;
  }
  EXPECT_FALSE(std::filesystem::exists(temp_ / "d"));
  EXPECT_TRUE(std::filesystem::exists(temp_ / "ro.txt"));

  // Windows cannot make a folder whose full path exceeds 248 bytes.
  std::string deep = "C:\\" + std::string(246, 'n');
  EXPECT_FALSE(CreateDirectoryA(deep.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
  deep.resize(248);
  EXPECT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
}

TEST_F(FilesTest, AttributesAndAccessModes) {
  temp_.MakeFolder("dir");
  temp_.MakeFolder("lockeddir");
  chmod((temp_ / "lockeddir").c_str(), 0555);
  temp_.WriteFile("rw.txt", "x");
  temp_.WriteFile("ro.txt", "x");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  const struct {
    const char* path;
    DWORD attributes;
    int mode0, mode2, mode4, mode6;
  } cases[] = {
      {"C:\\dir", FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0},
      {"C:\\dir\\", FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0},
      {"C:\\lockeddir", FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0},  // folders only need to exist
      {"C:\\", FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0},
      {"\\\\srv\\pub", FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0},
      {"C:\\RW.TXT", FILE_ATTRIBUTE_ARCHIVE, 0, 0, 0, 0},
      {"C:\\ro.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0, -1, 0, -1},
      {"C:\\rw.txt\\", INVALID_FILE_ATTRIBUTES, -1, -1, -1, -1},
      {"C:\\none", INVALID_FILE_ATTRIBUTES, -1, -1, -1, -1},
      {"\\\\srv\\other", INVALID_FILE_ATTRIBUTES, -1, -1, -1, -1},
      {"Q:\\", INVALID_FILE_ATTRIBUTES, -1, -1, -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFileAttributesA(c.path), c.attributes) << c.path;
    EXPECT_EQ(winport::Access(c.path, 0), c.mode0) << c.path;
    EXPECT_EQ(winport::Access(c.path, 2), c.mode2) << c.path;
    EXPECT_EQ(winport::Access(c.path, 4), c.mode4) << c.path;
    EXPECT_EQ(winport::Access(c.path, 6), c.mode6) << c.path;
  }
  EXPECT_EQ(GetFileAttributesA("C:\\none\\x"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

// The oracle's answers for names and modes the C runtime and Win32 treat their own way.
TEST_F(FilesTest, AwkwardNamesAndModesGiveTheWindowsAnswers) {
  temp_.WriteFile("rw.txt", "x");
  temp_.WriteFile("ro.txt", "x");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  // _access knows only the write bit (2) of its mode; read permission (4) is the Linux file's.
  const struct {
    const char* path;
    int mode;
    int result;
    int error;
  } access[] = {
      {"C:\\rw.txt", 1, 0, 0},       {"C:\\rw.txt", 3, 0, 0},         {"C:\\rw.txt", 8, 0, 0},
      {"C:\\ro.txt", 3, -1, EACCES}, {"C:\\ro.txt", 8, 0, 0},         {"C:\\none", 8, -1, ENOENT},
      {"C:\\r*.txt", 0, -1, EINVAL}, {"C:\\rw?txt", 0, -1, EINVAL},   {nullptr, 0, -1, ENOENT},
      {"", 0, -1, ENOENT},           {"C:\\rw.txt\\", 0, -1, ENOENT},
  };
  for (const auto& c : access) {
    errno = 0;
    EXPECT_EQ(winport::Access(c.path, c.mode), c.result) << (c.path ? c.path : "(null)") << c.mode;
    EXPECT_EQ(errno, c.error) << (c.path ? c.path : "(null)") << " " << c.mode;
  }
  // A file named with a separator after it: a missing path to GetFileAttributesA, an invalid
  // name to the others.
  EXPECT_EQ(GetFileAttributesA("C:\\rw.txt\\"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA("C:\\rw.txt\\."), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_FALSE(DeleteFileA("C:\\rw.txt\\"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

  // RemoveDirectoryA: no name, the current directory at a drive root, other roots.
  winport::DriveMap map = MakeMap(temp_);
  map.SetDrive('E', {temp_.MakeFolder("empty"), DRIVE_FIXED});
  testsupport::DriveMapGuard guard(map);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  const struct {
    const char* path;
    DWORD error;
  } removals[] = {
      {"", ERROR_INVALID_NAME},        {nullptr, ERROR_INVALID_NAME},
      {"  ", ERROR_INVALID_NAME},      {"C:\\", ERROR_SHARING_VIOLATION},
      {"\\", ERROR_SHARING_VIOLATION}, {"E:\\", ERROR_ACCESS_DENIED},  // empty, still kept
  };
  for (const auto& c : removals) {
    SetLastError(0);
    EXPECT_FALSE(RemoveDirectoryA(c.path)) << (c.path ? c.path : "(null)");
    EXPECT_EQ(GetLastError(), c.error) << (c.path ? c.path : "(null)");
  }
  ASSERT_TRUE(SetCurrentDirectoryA("E:\\"));
  EXPECT_FALSE(RemoveDirectoryA("C:\\"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(std::filesystem::is_directory(temp_ / "empty"));
}

// Windows file systems fold the letters code page 932 has in both cases, not only ASCII.
TEST_F(FilesTest, FullWidthGreekAndCyrillicLettersMatchWithoutRegardToCase) {
  for (const char8_t* name : {u8"Ａ.txt", u8"Σ.txt", u8"Ё.txt", u8"Ⅱ.txt", u8"ア.txt", u8"Ｂ"}) {
    temp_.WriteFile(Utf8(name), "x");
  }
  const struct {
    const char* path;
    bool found;
  } cases[] = {
      {"C:\\\x82\x81.txt", true},   // ａ
      {"C:\\\x83\xB0.txt", true},   // σ
      {"C:\\\x84\x76.txt", true},   // ё
      {"C:\\\xFA\x41.txt", true},   // ⅱ (IBM extension)
      {"C:\\\x82\xA0.txt", false},  // あ is no case of ア
      {"C:\\A.txt", false},         // nor is A of Ａ
      {"C:\\\x82\x82", true},       // ｂ
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFileAttributesA(c.path) != INVALID_FILE_ATTRIBUTES, c.found) << c.path;
  }
}

TEST_F(FilesTest, NamedPipesAndDevicesAreRefusedWithoutWaiting) {
  testsupport::NamedPipe pipe(temp_ / "pipe");
  for (DWORD access : {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE}) {
    SetLastError(0);
    HANDLE h = CreateFileA("C:\\pipe", access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << access;
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << access;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  EXPECT_EQ(CreateFileA("Z:\\dev\\zero", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                        nullptr),
            INVALID_HANDLE_VALUE);
}

TEST_F(FilesTest, KatakanaSoFolderIsFoundThroughTheMap) {
  // "ソ" is 0x83 0x5C: its second byte must not end the folder name.
  const std::string so = Utf8(u8"ソ");
  temp_.MakeFolder(so);
  temp_.WriteFile(so + "/a.txt", "inside");
  EXPECT_EQ(GetFileAttributesA("C:\\\x83\x5C"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\\x83\x5C\\"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(winport::Access("C:\\\x83\x5C\\a.txt", 6), 0);
  HANDLE h = CreateFileA("C:\\\x83\x5C\\a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  char buffer[16];
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "inside");
  CloseHandle(h);
  EXPECT_TRUE(CreateDirectoryA("C:\\\x83\x5C\\\x95\x5C", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(temp_ / (so + "/" + Utf8(u8"表"))));
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\\x83\x5C"));
  char current[MAX_PATH];
  ASSERT_EQ(GetCurrentDirectoryA(MAX_PATH, current), 5u);
  EXPECT_STREQ(current, "C:\\\x83\x5C");
}

TEST_F(FilesTest, DriveTypesComeFromTheMap) {
  std::string error;
  std::string drives = "C=" + temp_.path() + ";D=" + temp_.MakeFolder("usb") +
                       ":removable;E=" + temp_.MakeFolder("cd") +
                       ":cdrom;F=/net:remote;G=/ram:ramdisk;H=/x:noroot;" + "I=/y:unknown";
  std::string shares = "srv\\pub=" + temp_.path();
  std::optional<winport::DriveMap> map =
      winport::DriveMap::FromSettings(drives.c_str(), shares.c_str(), &error);
  ASSERT_TRUE(map) << error;
  testsupport::DriveMapGuard guard(*map);
  const struct {
    const char* root;
    UINT type;
  } cases[] = {
      {"C:\\", DRIVE_FIXED},
      {"c:\\", DRIVE_FIXED},
      {"C:", DRIVE_FIXED},
      {"C:\\windows", DRIVE_FIXED},
      {"D:\\", DRIVE_REMOVABLE},
      {"E:\\", DRIVE_CDROM},
      {"F:\\", DRIVE_REMOTE},
      {"G:\\", DRIVE_RAMDISK},
      {"H:\\", DRIVE_NO_ROOT_DIR},
      {"I:\\", DRIVE_UNKNOWN},
      {"Z:\\", DRIVE_FIXED},
      {"Q:\\", DRIVE_NO_ROOT_DIR},
      {"1:\\", DRIVE_NO_ROOT_DIR},
      {"", DRIVE_NO_ROOT_DIR},
      {"\\\\srv\\pub\\", DRIVE_REMOTE},
      {"\\\\server\\share\\", DRIVE_NO_ROOT_DIR},
      {"\\\\srv", DRIVE_NO_ROOT_DIR},
      {"\\\\.\\D:\\", DRIVE_REMOVABLE},  // the device namespace
      {"//./d:/x", DRIVE_REMOVABLE},
      {"\\\\.\\D:", DRIVE_UNKNOWN},  // the volume device itself
      {"\\\\.\\D:x", DRIVE_NO_ROOT_DIR},
      {"\\\\.\\Q:\\", DRIVE_NO_ROOT_DIR},
      {"\\\\.\\", DRIVE_NO_ROOT_DIR},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDriveTypeA(c.root), c.type) << c.root;
  ASSERT_TRUE(SetCurrentDirectoryA("E:\\"));
  EXPECT_EQ(GetDriveTypeA(nullptr), DRIVE_CDROM);
  EXPECT_EQ(GetDriveTypeA("\\"), DRIVE_CDROM);
  ASSERT_TRUE(SetCurrentDirectoryA("\\\\srv\\pub"));
  EXPECT_EQ(GetDriveTypeA(nullptr), DRIVE_REMOTE);
}

TEST_F(FilesTest, CurrentDirectoryRoundTrips) {
  temp_.MakeFolder("sub/deeper");
  temp_.WriteFile("file.txt", "f");
  const struct {
    const char* set;
    bool ok;
    const char* expected;  // the current directory afterwards
    DWORD error;
  } steps[] = {
      {"C:\\sub", true, "C:\\sub", 0},
      {"deeper\\", true, "C:\\sub\\deeper", 0},
      {"C:..", true, "C:\\sub", 0},  // from the drive's current folder, not its root
      {"..\\..", true, "C:\\", 0},
      {"C:sub", true, "C:\\sub", 0},
      {"\\", true, "C:\\", 0},
      {"C:\\none", false, "C:\\", ERROR_FILE_NOT_FOUND},
      {"C:\\none\\x", false, "C:\\", ERROR_PATH_NOT_FOUND},
      {"C:\\file.txt", false, "C:\\", ERROR_DIRECTORY},
      {"Q:\\", false, "C:\\", ERROR_PATH_NOT_FOUND},
      {"\\\\srv\\pub", true, "\\\\srv\\pub", 0},
      {"\\\\srv\\pub\\", true, "\\\\srv\\pub", 0},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(SetCurrentDirectoryA(s.set) != FALSE, s.ok) << s.set;
    if (!s.ok) {
      EXPECT_EQ(GetLastError(), s.error) << s.set;
    }
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    EXPECT_EQ(length, std::strlen(s.expected)) << s.set;
    EXPECT_STREQ(buffer, s.expected) << s.set;
  }

  // Relative file names count from the current directory.
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\sub"));
  ASSERT_TRUE(WriteWhole("rel.txt", "r"));
  EXPECT_EQ(temp_.Read("sub/rel.txt"), "r");

  // Too small a buffer: the size needed with the NUL, and the buffer untouched.
  const DWORD length = 6;  // "C:\sub"
  char small[8];
  std::memset(small, '#', sizeof small);
  EXPECT_EQ(GetCurrentDirectoryA(length, small), length + 1);
  EXPECT_EQ(small[0], '#');
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, small), length);
  EXPECT_STREQ(small, "C:\\sub");

  // A chdir behind the program's back is mapped back from Linux.
  ASSERT_EQ(chdir("/"), 0);
  char buffer[MAX_PATH];
  EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 3u);
  EXPECT_STREQ(buffer, "Z:\\");
}

TEST_F(FilesTest, TempPathComesFromTheEnvironmentEndingInABackslash) {
  temp_.MakeFolder("t");
  const struct {
    const char* tmp;
    const char* temp;
    std::string tmpdir;
    const char* expected;
  } cases[] = {
      {nullptr, nullptr, temp_ / "t", "C:\\t\\"},
      {nullptr, nullptr, temp_.path() + "/", "C:\\"},
      {"D:\\Temp", nullptr, temp_ / "t", "D:\\Temp\\"},  // a Windows path as it is
      {nullptr, "/var/tmp", "", "Z:\\var\\tmp\\"},       // a Linux path through the map
      {"", nullptr, "", "Z:\\tmp\\"},
  };
  for (const auto& c : cases) {
    testsupport::EnvGuard tmp("TMP", c.tmp);
    testsupport::EnvGuard temp("TEMP", c.temp);
    testsupport::EnvGuard tmpdir("TMPDIR", c.tmpdir.empty() ? nullptr : c.tmpdir.c_str());
    char buffer[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(length, std::strlen(c.expected));
    char small[3] = {'#', '#', '#'};
    EXPECT_EQ(GetTempPathA(sizeof small, small), std::strlen(c.expected) + 1);
    EXPECT_EQ(small[0], '#');
  }
}

TEST_F(FilesTest, ModuleFileNameIsTheProgramOnAWindowsDrive) {
  char buffer[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  ASSERT_GT(length, 3u);
  EXPECT_EQ(std::strlen(buffer), length);
  std::string name(buffer);
  EXPECT_EQ(name.substr(0, 3), "Z:\\");
  EXPECT_EQ(name.find('/'), std::string::npos);
  EXPECT_EQ(name.substr(name.rfind('\\') + 1), "winport_tests");
  EXPECT_EQ(GetFileAttributesA(buffer), FILE_ATTRIBUTE_ARCHIVE);

  char small[8];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(small), name.substr(0, sizeof small - 1));
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<void*>(1), buffer, sizeof buffer), 0u);

  // Reached only through a share, the program still has a name, and its folder can be entered.
  std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
  winport::DriveMap shareOnly = MakeMap(temp_);
  shareOnly.RemoveDrive('Z');
  shareOnly.SetShare("host", "bin", folder);
  testsupport::DriveMapGuard guard(shareOnly);
  ASSERT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 24u);
  EXPECT_STREQ(buffer, "\\\\host\\bin\\winport_tests");
  EXPECT_TRUE(SetCurrentDirectoryA("\\\\host\\bin\\"));
}

}  // namespace

TEST_F(FilesTest, MoveReplacesInOneStepOrLeavesBothFilesAlone) {
  temp_.MakeFolder("dir");
  temp_.WriteFile("ro.txt", "ro");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  HANDLE heldTarget = CreateFileA("C:\\held.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, 0, nullptr);
  HANDLE heldSource = CreateFileA("C:\\busy.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
  HANDLE deletable = CreateFileA("C:\\shared.txt", GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
  const struct {
    const char* from;
    const char* to;
    DWORD flags;
    DWORD error;  // 0: succeeds
  } cases[] = {
      {"C:\\new.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, 0},
      {"C:\\new.txt", "C:\\fresh.txt", 0, 0},
      {"C:\\new.txt", "C:\\old.txt", 0, ERROR_ALREADY_EXISTS},
      {"C:\\none.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_FILE_NOT_FOUND},
      {"C:\\new.txt", "C:\\no\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_PATH_NOT_FOUND},
      {"C:\\new.txt", "C:\\dir", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
      {"C:\\new.txt", "C:\\ro.txt", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
      {"C:\\new.txt", "C:\\held.txt", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
      {"C:\\new.txt", "C:\\shared.txt", MOVEFILE_REPLACE_EXISTING, 0},
      {"C:\\busy.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_SHARING_VIOLATION},
      {"C:\\new.txt", "C:\\old.txt", 0x2 /* copy allowed */, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    temp_.WriteFile("new.txt", "new");
    temp_.WriteFile("old.txt", "old");
    auto contents = [&](const char* windowsPath) -> std::optional<std::string> {
      std::string onLinux = temp_ / (windowsPath + 3);
      if (!std::filesystem::is_regular_file(onLinux)) return std::nullopt;
      return temp_.Read(windowsPath + 3);
    };
    std::optional<std::string> target = contents(c.to);
    SetLastError(0);
    EXPECT_EQ(MoveFileExA(c.from, c.to, c.flags) != FALSE, c.error == 0) << c.from << c.to;
    EXPECT_EQ(GetLastError(), c.error) << c.from << " " << c.to;
    if (c.error == 0) {
      EXPECT_EQ(contents(c.to), "new") << c.to;
      EXPECT_FALSE(temp_.Read("new.txt")) << c.to;
    } else {
      EXPECT_EQ(contents(c.to), target) << c.to;
      EXPECT_EQ(temp_.Read("new.txt"), "new") << c.to;
    }
  }
  CloseHandle(heldTarget);
  CloseHandle(heldSource);
  CloseHandle(deletable);

  // A target held without sharing by another process is refused as well.
  temp_.WriteFile("new.txt", "new");
  int other = open((temp_ / "old.txt").c_str(), O_RDONLY);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
  EXPECT_FALSE(MoveFileExA("C:\\new.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  close(other);
  EXPECT_TRUE(MoveFileExA("C:\\new.txt", "C:\\old.txt", MOVEFILE_REPLACE_EXISTING));
}

TEST_F(FilesTest, FlushNeedsWriteAccessAndAttributesCarrySizeAndTime) {
  ASSERT_TRUE(WriteWhole("C:\\f.txt", "12345"));
  HANDLE h = CreateFileA("C:\\f.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(FlushFileBuffers(h));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  CloseHandle(h);

  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExA("C:\\f.txt", GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  // Written just now: after 2020 in 100-nanosecond steps since 1601.
  EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 132223104000000000u >> 32);
  EXPECT_FALSE(GetFileAttributesExA("C:\\none", GetFileExInfoStandard, &data));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
