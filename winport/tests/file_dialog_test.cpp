// The save-file dialog: names completed against the initial folder and the default
// extension, and the flags that refuse a name and ask again.
#include "winport/file_dialog.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

namespace {

TEST(FileDialog, CompletesNamesAndHoldsThemToTheFlags) {
  testsupport::TempFolder folder;
  folder.WriteFile("old.xml", "x");
  folder.MakeFolder("sub");
  const std::string base = testsupport::WindowsPath(folder.path()) + "\\";
  // Names that make a path of MAX_PATH - 1 and of MAX_PATH bytes with the extension added.
  const std::string longest(MAX_PATH - 1 - base.size() - 4, 'n');
  const std::string tooLong = longest + "n";
  struct Case {
    DWORD flags;
    std::vector<std::optional<std::string>> answers;
    INT_PTR result;
    std::string path;
    std::size_t refusals;
  } cases[] = {
      {OFN_PATHMUSTEXIST, {"new"}, IDOK, base + "new.XML", 0},
      {OFN_PATHMUSTEXIST, {"sub\\a.xml"}, IDOK, base + "sub\\a.xml", 0},
      {OFN_PATHMUSTEXIST, {"missing\\a.xml", "b.xml"}, IDOK, base + "b.xml", 1},
      {OFN_FILEMUSTEXIST, {"new.xml", "old.xml"}, IDOK, base + "old.xml", 1},
      {OFN_FILEMUSTEXIST, {"new.xml"}, IDCANCEL, "", 1},    // then nothing: Cancel
      {0, {"sub", "c.xml"}, IDOK, base + "sub\\c.xml", 0},  // a folder name opens it
      {0, {"a|b.xml", std::nullopt}, IDCANCEL, "", 1},
      {0, {longest}, IDOK, base + longest + ".XML", 0},
      {0, {tooLong, "b.xml"}, IDOK, base + "b.xml", 1},  // no file function could take it
  };
  for (const Case& c : cases) {
    winport::RecordingUiBackend ui;
    winport::ScopedUiBackend scope(ui);
    ui.saveAnswers.assign(c.answers.begin(), c.answers.end());
    CFileDialog dialog(FALSE, "XML", "*.xml", c.flags | OFN_NOCHANGEDIR,
                       "Xml Files (*.xml)|*.xml||", nullptr);
    dialog.m_ofn.lpstrInitialDir = base.c_str();
    EXPECT_EQ(dialog.DoModal(), c.result) << c.answers.front().value_or("");
    EXPECT_EQ(dialog.GetPathName(), c.path);
    EXPECT_EQ(ui.boxes.size(), c.refusals) << c.answers.front().value_or("");
    EXPECT_EQ(ui.saveRequests.front().initialDirectory, base);
  }
}

}  // namespace
