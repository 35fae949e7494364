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
  CFileTest() : maps_(testsupport::DriveCOn(temp_)) {}

  testsupport::TempFolder temp_;
  testsupport::DriveMapGuard maps_;
};

TEST_F(CFileTest, OpenFlagsMapToAccessDispositionAndSharing) {
  constexpr UINT kRead = CFile::modeRead, kCreate = CFile::modeCreate | CFile::modeWrite;
  const struct {
    bool exists;
    UINT flags;
    DWORD error;        // 0: opens
    const char* after;  // the file afterwards; nullptr: no file
    UINT second;        // a second opening while the first is open
    bool secondOpens;
  } cases[] = {
      {false, kRead, ERROR_FILE_NOT_FOUND, nullptr, 0, false},
      {true, kRead, 0, "old", kRead | CFile::shareDenyNone, false},  // compatibility: exclusive
      {true, kRead | CFile::shareDenyWrite, 0, "old", kRead | CFile::shareDenyWrite, true},
      {true, kRead | CFile::shareDenyWrite, 0, "old", CFile::modeWrite | CFile::shareDenyNone,
       false},
      {false, kCreate, 0, "", kRead, false},
      {true, kCreate | CFile::shareDenyRead, 0, "", kCreate | CFile::shareDenyRead, true},
      {true, kCreate | CFile::modeNoTruncate, 0, "old", kRead, false},
      {true, CFile::modeWrite | CFile::modeReadWrite, ERROR_INVALID_PARAMETER, "old", 0, false},
  };
  for (const auto& c : cases) {
    std::remove((temp_ / "f.txt").c_str());
    if (c.exists) temp_.WriteFile("f.txt", "old");
    CFile file, second;
    EXPECT_EQ(file.Open("C:\\f.txt", c.flags) != FALSE, c.error == 0) << c.flags;
    if (c.error != 0) {
      EXPECT_EQ(GetLastError(), c.error) << c.flags;
    } else {
      EXPECT_EQ(second.Open("C:\\f.txt", c.second) != FALSE, c.secondOpens) << c.flags;
    }
    file.Close();
    second.Close();
    EXPECT_EQ(temp_.Read("f.txt"), c.after ? std::optional<std::string>(c.after) : std::nullopt)
        << c.flags;
  }
}

TEST_F(CFileTest, BytesReadBackAndFailuresAreReported) {
  const std::string bytes = "a/1/2/C:\\\x95\x5C\\x.xml\n";
  CFile out;
  ASSERT_TRUE(out.Open("C:\\f.env", CFile::modeCreate | CFile::modeWrite));
  ASSERT_TRUE(out.Write(bytes.data(), static_cast<UINT>(bytes.size())));
  ASSERT_TRUE(out.Flush());
  EXPECT_TRUE(out.Close());

  CFile in;
  ASSERT_TRUE(in.Open("C:\\f.env", CFile::modeRead));
  ULONGLONG length = 0;
  ASSERT_TRUE(in.GetLength(&length));
  EXPECT_EQ(length, bytes.size());
  char buffer[64];
  UINT read = 0;
  ASSERT_TRUE(in.Read(buffer, sizeof buffer, &read));
  EXPECT_EQ(std::string(buffer, read), bytes);
  ASSERT_TRUE(in.Read(buffer, sizeof buffer, &read));
  EXPECT_EQ(read, 0u);
  EXPECT_FALSE(in.Write("x", 1));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(CFile::Remove("C:\\f.env"));  // still open
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  in.Close();
  EXPECT_FALSE(in.GetLength(&length));

  winport::ScopedCallFaults faults;
  ASSERT_TRUE(out.Open("C:\\f.env", CFile::modeCreate | CFile::modeWrite));
  winport::InjectCallFault("WriteFile", ERROR_DISK_FULL);
  EXPECT_FALSE(out.Write("x", 1));
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  winport::InjectCallFault("FlushFileBuffers", ERROR_WRITE_FAULT);
  EXPECT_FALSE(out.Flush());
  out.Close();
  EXPECT_TRUE(CFile::Remove("C:\\f.env"));
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
