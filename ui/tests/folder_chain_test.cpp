#include "ui/folder_chain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/fault_injection.h"
#include "winport/files.h"

namespace {

using testsupport::Utf8;

// 表 = 95 5C and ソ = 83 5C: double-byte characters whose second byte is a backslash.
constexpr char kHyo[] = "\x95\x5C";
constexpr char kSo[] = "\x83\x5C";

TEST(PathParts, FolderAndFilePartsSplitAtTheLastRealSeparator) {
  const struct {
    std::string path, folder, file;
  } cases[] = {
      {"C:\\dir\\out.xml", "C:\\dir\\", "out.xml"},
      {"C:\\dir\\", "C:\\dir\\", ""},
      {"out.xml", "", "out.xml"},
      {"", "", ""},
      {"\\", "\\", ""},
      {std::string("C:\\") + kHyo, "C:\\", kHyo},
      {std::string("C:\\") + kSo + "\\" + kHyo + ".xml", std::string("C:\\") + kSo + "\\",
       std::string(kHyo) + ".xml"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FilePart(c.path), c.file) << c.path;
  }
}

TEST(PathParts, EnsureSeparatorKeepsBelowTheLimit) {
  const std::string at259(259, 'a');
  const std::string at258(258, 'a');
  const struct {
    std::string text;
    bool ok;
    std::string after;
  } cases[] = {
      {"C:\\dir", true, "C:\\dir\\"},
      {"C:\\dir\\", true, "C:\\dir\\"},
      {"", false, ""},
      {"a", true, "a\\"},
      {std::string("C:\\") + kHyo, true, std::string("C:\\") + kHyo + "\\"},
      {std::string("C:\\") + kSo, true, std::string("C:\\") + kSo + "\\"},
      {at259, true, at259 + "\\"},          // 260 bytes: the most a buffer holds
      {at259 + "a", false, at259 + "a"},    // 261 would not fit
      {at259 + "\\", true, at259 + "\\"},   // already ends with one
      {at258 + kHyo, false, at258 + kHyo},  // 表 at the limit gets no room either
      {at258.substr(1) + kHyo, true, at258.substr(1) + kHyo + "\\"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(EnsureSeparator(text, kPathBufferSize), c.ok) << c.text.size();
    EXPECT_EQ(text, c.after) << c.text.size();
  }
}

TEST(PathParts, DirectoryOfNeverGrowsBeyondThePath) {
  const std::string longFolder = "C:\\" + std::string(254, 'a') + "\\";  // folder part of 258
  const struct {
    std::string path, directory;
  } cases[] = {
      {"C:\\dir\\out.xml", "C:\\dir\\"},
      {"C:out.xml", "C:\\"},
      {"C:", "C:"},  // no room for the separator
      {"out.xml", ""},
      {std::string("C:\\dir\\") + kHyo, "C:\\dir\\"},
      {"\\\\srv\\pub\\a\\f", "\\\\srv\\pub\\a\\"},
      {longFolder + "f", ""},  // _splitpath would cut the folder to another one's name
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectoryOf(c.path), c.directory) << c.path;
  }
}

// Every name below a Linux folder, to see that a failed creation leaves nothing behind.
std::set<std::string> Tree(const std::string& root) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    names.insert(std::filesystem::relative(entry.path(), root).string());
  }
  return names;
}

// C: is a temporary folder holding C:\old\keep.txt and an empty C:\Empty; \\srv\pub is its folder
// "pub"; G: is a removable drive without its medium.
class FolderChainTest : public ::testing::Test {
 protected:
  FolderChainTest() : map_(MakeMap(temp_)) {
    temp_.WriteFile("old/keep.txt", "k");
    temp_.MakeFolder("Empty");
  }

  static winport::DriveMap MakeMap(const testsupport::TempFolder& temp) {
    winport::DriveMap map = testsupport::DriveCOn(temp);
    map.SetDrive('G', {temp / "no-medium", DRIVE_REMOVABLE});
    map.SetShare("srv", "pub", temp.MakeFolder("pub"));
    return map;
  }

  testsupport::TempFolder temp_;
  testsupport::DriveMapGuard map_;
  winport::ScopedCallFaults faults_;
};

TEST_F(FolderChainTest, CreatesEveryMissingFolder) {
  const std::string deep248 = "C:\\" + std::string(240, 'd') + "\\e234";  // 248 bytes
  const struct {
    std::string folderPart;
    std::string madeOnLinux;  // the deepest folder, relative to C:'s root
  } cases[] = {
      {"C:\\a\\b\\", "a/b"},
      {"c:\\OLD\\x\\", "old/x"},  // existing names match without regard to case
      {"C:\\old\\y\\out.xml", "old/y"},
      {std::string("C:\\") + kHyo + "\\" + kSo + "\\", Utf8(u8"表/ソ")},
      {"C:\\old\\", "old"},
      {"C:\\", "."},
      {"\\\\srv\\pub\\s1\\s2\\", "pub/s1/s2"},
      {deep248 + "\\", std::string(240, 'd') + "/e234"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(CreateFolderChain(c.folderPart)) << c.folderPart;
    EXPECT_TRUE(std::filesystem::is_directory(temp_ / c.madeOnLinux)) << c.folderPart;
  }
  EXPECT_EQ(temp_.Read("old/keep.txt"), "k");
  EXPECT_FALSE(std::filesystem::exists(temp_ / "\x95"));  // no name cut at the 0x5C byte
}

TEST_F(FolderChainTest, RefusesWithoutTouchingAnything) {
  temp_.WriteFile("file.txt", "f");
  const std::set<std::string> before = Tree(temp_.path());
  const std::string tooLong = "C:\\" + std::string(257, 'x') + "\\";  // 261 bytes
  const std::string deep249 = "C:\\" + std::string(240, 'd') + "\\e2345\\";
  const std::string cases[] = {
      "",
      "out.xml",
      "dir\\",
      "C:dir\\",
      "Q:\\new\\",
      "G:\\",                 // the drive's root folder is missing: nothing can be made there
      "\\\\srv\\pub",         // no separator after the share: no root
      "\\\\srv\\\\pub\\x\\",  // a doubled separator would shift the root
      tooLong,
      "C:\\file.txt\\x\\",
      deep249,
  };
  for (const auto& folderPart : cases) {
    EXPECT_FALSE(CreateFolderChain(folderPart)) << folderPart;
    EXPECT_EQ(Tree(temp_.path()), before) << folderPart;
  }
}

TEST_F(FolderChainTest, AFailedCreationAtAnyLevelRemovesWhatThisChainMade) {
  const std::set<std::string> before = Tree(temp_.path());
  const std::string chains[] = {
      "C:\\n1\\n2\\n3\\",
      "C:\\Old\\n1\\n2\\",    // below an existing folder, named in another case
      "C:\\empty\\n1\\n2\\",  // an empty folder that existed before stays
      std::string("C:\\") + kHyo + "\\" + kSo + "\\" + kHyo + "\\",
      "\\\\srv\\pub\\n1\\n2\\",
  };
  for (const std::string& chain : chains) {
    for (int level = 0;; ++level) {
      winport::ClearCallFaults();
      winport::InjectCallFault("CreateDirectoryA", ERROR_ACCESS_DENIED, level);
      bool created = CreateFolderChain(chain);
      int attempts = winport::CallCount("CreateDirectoryA");
      winport::ClearCallFaults();
      if (level >= attempts) {  // every missing folder was made before the fault was due
        EXPECT_TRUE(created) << chain;
        EXPECT_GE(level, 2) << chain;
        for (const std::string& name : Tree(temp_.path())) {
          if (!before.contains(name)) std::filesystem::remove_all(temp_ / name);
        }
        break;
      }
      EXPECT_FALSE(created) << chain << " " << level;
      EXPECT_EQ(Tree(temp_.path()), before) << chain << " " << level;
    }
  }
}

TEST_F(FolderChainTest, RollbackStopsAtTheFirstFolderItCannotRemove) {
  winport::InjectCallFault("CreateDirectoryA", ERROR_ACCESS_DENIED, 2);
  winport::InjectCallFault("RemoveDirectoryA", ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(CreateFolderChain("C:\\n1\\n2\\n3\\"));
  // n2 could not go, so n1 above it is kept too.
  EXPECT_TRUE(std::filesystem::is_directory(temp_ / "n1/n2"));
  EXPECT_EQ(winport::CallCount("RemoveDirectoryA"), 1);
}

}  // namespace
