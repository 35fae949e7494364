#include "winport/cfile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/drive_map.h"
#include "winport/fault_injection.h"

namespace {

// C: is a fresh temporary folder.
class CFileTest : public ::testing::Test {
 protected:
  CFileTest() : maps_(MakeMap(temp_)) {}

  static winport::DriveMap MakeMap(const testsupport::TempFolder& temp) {
    winport::DriveMap map;
    map.SetDrive('C', {temp.path(), DRIVE_FIXED});
    return map;
  }

  testsupport::TempFolder temp_;
  testsupport::DriveMapGuard maps_;
};

TEST_F(CFileTest, OpenModesCreateKeepOrRefuseAsMfc) {
  const struct {
    bool exists;
    UINT flags;
    DWORD error;        // 0: opens
    const char* after;  // the file's bytes afterwards; nullptr: no file
  } cases[] = {
      {false, CFile::modeRead, ERROR_FILE_NOT_FOUND, nullptr},
      {true, CFile::modeRead, 0, "old"},
      {true, CFile::modeReadWrite | CFile::shareDenyWrite, 0, "old"},
      {false, CFile::modeCreate | CFile::modeWrite, 0, ""},
      {true, CFile::modeCreate | CFile::modeWrite, 0, ""},
      {true, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, 0, "old"},
      {true, CFile::modeWrite | CFile::modeReadWrite, ERROR_INVALID_PARAMETER, "old"},
      {true, CFile::modeRead | 0x50, ERROR_INVALID_PARAMETER, "old"},
  };
  for (const auto& c : cases) {
    std::remove((temp_ / "f.txt").c_str());
    if (c.exists) temp_.WriteFile("f.txt", "old");
    CFile file;
    SetLastError(0);
    EXPECT_EQ(file.Open("C:\\f.txt", c.flags) != FALSE, c.error == 0) << c.flags;
    if (c.error != 0) {
      EXPECT_EQ(GetLastError(), c.error) << c.flags;
    }
    EXPECT_EQ(file.IsOpen(), c.error == 0);
    file.Close();
    std::optional<std::string> after = temp_.Read("f.txt");
    EXPECT_EQ(after.has_value(), c.after != nullptr) << c.flags;
    if (after && c.after) {
      EXPECT_EQ(*after, c.after) << c.flags;
    }
  }
}

TEST_F(CFileTest, ShareFlagsDecideWhoElseMayOpen) {
  temp_.WriteFile("s.txt", "s");
  const struct {
    UINT first, second;
    bool allowed;
  } cases[] = {
      {CFile::modeRead, CFile::modeRead | CFile::shareDenyNone, false},  // compat is exclusive
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyWrite, true},
      {CFile::modeRead | CFile::shareDenyWrite, CFile::modeWrite | CFile::shareDenyNone, false},
      {CFile::modeWrite | CFile::shareDenyRead, CFile::modeWrite | CFile::shareDenyRead, true},
      {CFile::modeRead | CFile::shareDenyNone, CFile::modeReadWrite | CFile::shareDenyNone, true},
  };
  for (const auto& c : cases) {
    CFile first, second;
    ASSERT_TRUE(first.Open("C:\\s.txt", c.first));
    EXPECT_EQ(second.Open("C:\\s.txt", c.second) != FALSE, c.allowed) << c.first << " " << c.second;
  }
}

TEST_F(CFileTest, WrittenBytesReadBackAndFailuresAreReported) {
  const std::string bytes = "a/1/2/C:\\\x95\x5C\\x.xml\n";
  CFile out;
  ASSERT_TRUE(out.Open("C:\\f.env", CFile::modeCreate | CFile::modeWrite));
  ASSERT_TRUE(out.Write(bytes.data(), static_cast<UINT>(bytes.size())));
  ASSERT_TRUE(out.Flush());
  UINT read = 9;
  char buffer[64];
  EXPECT_FALSE(out.Read(buffer, sizeof buffer, &read));  // opened for writing only
  EXPECT_EQ(read, 0u);
  EXPECT_FALSE(out.Open("C:\\f.env", CFile::modeRead));  // already open
  EXPECT_TRUE(out.Close());
  EXPECT_TRUE(out.Close());  // nothing open: nothing to fail

  CFile in;
  ASSERT_TRUE(in.Open("C:\\f.env", CFile::modeRead));
  ULONGLONG length = 0;
  ASSERT_TRUE(in.GetLength(&length));
  EXPECT_EQ(length, bytes.size());
  ASSERT_TRUE(in.Read(buffer, sizeof buffer, &read));
  EXPECT_EQ(std::string(buffer, read), bytes);
  ASSERT_TRUE(in.Read(buffer, sizeof buffer, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_FALSE(in.Write("x", 1));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  in.Close();
  EXPECT_FALSE(in.GetLength(&length));

  winport::ScopedCallFaults faults;
  ASSERT_TRUE(out.Open("C:\\f.env", CFile::modeCreate | CFile::modeWrite));
  winport::InjectCallFault("WriteFile", ERROR_DISK_FULL);
  EXPECT_FALSE(out.Write("x", 1));
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  winport::InjectCallFault("FlushFileBuffers", ERROR_WRITE_FAULT);
  EXPECT_FALSE(out.Flush());
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);

  EXPECT_FALSE(CFile::Remove("C:\\f.env"));  // still open here
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  out.Close();
  EXPECT_TRUE(CFile::Remove("C:\\f.env"));
  EXPECT_FALSE(temp_.Read("f.env"));
}

TEST_F(CFileTest, StatusFindsFilesAndFoldersButNotRoots) {
  temp_.MakeFolder("dir");
  temp_.WriteFile("f.txt", std::string(40000, 'x'));
  temp_.WriteFile("ro.txt", "r");
  chmod((temp_ / "ro.txt").c_str(), 0444);
  const struct {
    const char* path;
    bool found;
    BYTE attribute;
    ULONGLONG size;
  } cases[] = {
      {"C:\\f.txt", true, CFile::archive, 40000},
      {"c:/F.TXT", true, CFile::archive, 40000},
      {"C:\\ro.txt", true, CFile::archive | CFile::readOnly, 1},
      {"C:\\dir", true, CFile::directory, 0},
      {"C:\\dir\\", false, 0, 0},
      {"C:\\f.txt\\", false, 0, 0},
      {"C:\\", false, 0, 0},
      {"C:\\none", false, 0, 0},
      {"C:\\f.tx?", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    CFileStatus status;
    EXPECT_EQ(CFile::GetStatus(c.path, status) != FALSE, c.found) << c.path;
    if (c.found) {
      EXPECT_EQ(status.m_attribute, c.attribute) << c.path;
      EXPECT_EQ(status.m_size, c.size) << c.path;
    }
  }
}

}  // namespace
