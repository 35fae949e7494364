#include "winport/mfc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "winport/mfc_dialog.h"
#include "winport/script/recording_ui.h"

namespace {

std::string Tail(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  return winport::CommandLineTail(static_cast<int>(argv.size()), argv.data());
}

class RecordingApp : public CWinApp {
 public:
  explicit RecordingApp(BOOL start) : start_(start) {}
  BOOL InitInstance() override {
    calls += "init(" + m_lpCmdLine + ")";
    return start_;
  }
  int ExitInstance() override {
    calls += "exit";
    return 42;
  }
  std::string calls;

 private:
  BOOL start_;
};

}  // namespace

TEST(CommandLine, ArgumentsAreJoinedBySingleBlanksInCodePage932) {
  EXPECT_EQ(Tail({"prog"}), "");
  EXPECT_EQ(Tail({"prog", "1,2,3,C:\\a b.xml"}), "1,2,3,C:\\a b.xml");
  EXPECT_EQ(Tail({"prog", "1,2,3,C:\\a", "b.xml"}), "1,2,3,C:\\a b.xml");
  EXPECT_EQ(Tail({"prog", testsupport::Utf8(u8"1,2,3,C:\\ソ.xml")}), "1,2,3,C:\\\x83\x5C.xml");
  // A character without a code page 932 form can never become part of a valid file name.
  const std::string accented = testsupport::Utf8(u8"1,2,3,C:\\é.xml");
  EXPECT_EQ(Tail({"prog", accented}), "1,2,3,C:\\?.xml");
}

TEST(Framework, EndHookRunsAfterEveryStartUpAndGivesTheExitCode) {
  std::vector<std::string> args = {"prog", "x,y"};
  char* argv[] = {args[0].data(), args[1].data()};
  for (BOOL start : {TRUE, FALSE}) {
    RecordingApp app(start);
    EXPECT_EQ(winport::AfxWinMain(app, 2, argv), 42);
    EXPECT_EQ(app.calls, "init(x,y)exit");
  }
}

TEST(Framework, WindowObjectsAreKeptPerHandle) {
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd* first = CWnd::FromHandle(HwndFromNumber(123));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetSafeHwnd(), HwndFromNumber(123));
  EXPECT_EQ(CWnd::FromHandle(HwndFromNumber(123)), first);
  EXPECT_NE(CWnd::FromHandle(HwndFromNumber(124)), first);

  // A dialog going away drops the objects of its own controls, not those of other windows
  // (the caller's window is held for the whole run).
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  winport::DialogTemplate t;
  t.controls = {{5, winport::ControlClass::Button, 0, "x", {}}};
  CDialog dialog(t);
  ASSERT_TRUE(dialog.Create());
  CWnd* itemObject = dialog.GetDlgItem(5);
  HWND item = itemObject->GetSafeHwnd();
  ASSERT_NE(item, nullptr);
  itemObject->Detach();  // marks the object: one still kept would come back without its handle
  dialog.DestroyWindow();
  EXPECT_EQ(CWnd::FromHandle(HwndFromNumber(123)), first);
  EXPECT_EQ(CWnd::FromHandle(item)->GetSafeHwnd(), item);
}
