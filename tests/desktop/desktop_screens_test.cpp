// The desktop front end on a real X server (ctest runs this under Xvfb): the conditions
// dialog (template 130), the progress window (131) and message boxes drawn with the Japanese
// dialog font. Their pictures go to QL_SCREENSHOT_DIR as PNG files for people to look at;
// they are not compared with anything. What is checked: every text has its glyphs and every
// label fits, the tool-tip shows when the pointer rests on its anchor, and the boxes answer
// the keys a person presses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/dialogs.h"
#include "tests/support/desktop/desktop_driver.h"
#include "winport/desktop/desktop_ui.h"
#include "winport/desktop/display_probe.h"
#include "winport/dialog_window.h"
#include "winport/mfc_dialog.h"
#include "winport/tool_tips.h"

namespace {

namespace desktop = winport::desktop;

std::string PicturePath(const char* name) {
  const char* dir = std::getenv("QL_SCREENSHOT_DIR");
  std::string folder = dir != nullptr ? dir : "screenshots";
  std::filesystem::create_directories(folder);
  return folder + "/" + name;
}

// Width and height from a PNG file's header; 0 x 0 when it is not one.
std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  if (!file || header[1] != 'P' || header[2] != 'N' || header[3] != 'G') return {0, 0};
  auto number = [&header](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  return {number(16), number(20)};
}

// The conditions dialog's template with the texts a general-taxation company shows.
class ConditionsPicture : public CDialog {
 public:
  ConditionsPicture() : CDialog(LoadDialogTemplate(IDD_CONDITIONS)) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    const std::pair<int, const char*> texts[] = {
        {IDC_COMPANY, " 株式会社見本商事"},
        {IDC_PERIOD, " 2019/04/01～2020/03/31"},
        {IDC_TAXATION, " 原則課税"},
        {IDC_DEDUCTION_CAPTION, "課税仕入控除"},
        {IDC_DEDUCTION, " 個別対応方式"},
        {IDC_START_MONTH, "4"},
        {IDC_END_MONTH, "3"},
        {IDC_OUTPUT_PATH, "C:\\出力\\消費税.xml"},
    };
    for (const auto& [id, text] : texts) GetDlgItem(id)->SetWindowTextA(text);
    SendDlgItemMessage(IDC_METHOD_JOURNAL, BM_SETCHECK, BST_CHECKED);
    winport::AddToolTip(
        m_hWnd, IDC_TOOLTIP_ANCHOR,
        "連動元製品にて入力・保存した消費税申告書の情報を使用します。\n"
        "※選択データにて[消費税申告書作成]を起動したことがない場合は選択できません。");
    GetDlgItem(IDC_START_MONTH)->SetFocus();
    SendDlgItemMessage(IDC_START_MONTH, EM_SETSEL, 0, -1);
    return FALSE;
  }
};

class DesktopScreens : public ::testing::Test {
 protected:
  winport::DesktopUiBackend ui_;
  winport::ScopedUiBackend scope_{ui_};
};

TEST_F(DesktopScreens, ConditionsDialogShowsEveryTextAndItsToolTip) {
  std::string picture = PicturePath("conditions-130.png");
  std::string problems = "not shown";
  std::string tip;
  ui_.onWait = [&](const winport::DialogWindow& dialog) {
    problems = desktop::TextProblems(dialog);
    EXPECT_TRUE(desktop::SaveScreenshot(dialog, picture));
    tip = desktop::HoverForToolTip(dialog, IDC_TOOLTIP_ANCHOR);
    desktop::SaveScreenScreenshot(PicturePath("conditions-130-tooltip.png"));
    desktop::Perform(dialog, winport::UiEvent::Key(VK_ESCAPE));
  };
  ConditionsPicture dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(problems, "");
  EXPECT_EQ(tip.rfind("連動元製品にて", 0), 0u);
  auto [width, height] = PngSize(picture);
  // 255 x 228 dialog units with a 9-point font: wider than high, a few hundred pixels.
  EXPECT_GT(width, height);
  EXPECT_GT(height, 228);
}

TEST_F(DesktopScreens, ProgressWindowAndTheBoxesItOwns) {
  CDialog progress(LoadDialogTemplate(IDD_PROGRESS));
  ASSERT_TRUE(progress.Create());
  progress.ShowWindow(SW_SHOW);
  progress.SetWindowTextA("集計中 50％");
  progress.SendDlgItemMessage(IDC_OVERALL_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
  progress.SendDlgItemMessage(IDC_OVERALL_BAR, PBM_SETPOS, 500);
  progress.SendDlgItemMessage(IDC_ACTIVITY_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 10));
  progress.SendDlgItemMessage(IDC_ACTIVITY_BAR, PBM_SETPOS, 4);
  ::UpdateWindow(progress.m_hWnd);
  std::string picture = PicturePath("progress-131.png");
  EXPECT_TRUE(desktop::SaveScreenshot(*progress.Window(), picture));
  EXPECT_EQ(desktop::TextProblems(*progress.Window()), "");
  auto [width, height] = PngSize(picture);
  EXPECT_GT(width, 3 * height);  // 221 x 44 dialog units

  // A question owned by the progress window, answered with Y; a notice answered with Enter.
  const struct {
    UINT style;
    int answer;
    const char* picture;
  } boxes[] = {{MB_YESNO | MB_ICONQUESTION, IDYES, "message-box-question.png"},
               {MB_OK | MB_ICONEXCLAMATION, IDOK, "message-box-notice.png"}};
  for (const auto& box : boxes) {
    bool pictured = false;
    ui_.onMessageBox = [&](const winport::MessageBoxRequest&) {
      pictured = desktop::SaveBoxScreenshot(PicturePath(box.picture));
      desktop::SaveScreenScreenshot(PicturePath("progress-131-with-box.png"));
      desktop::AnswerMessageBox(box.answer);
    };
    EXPECT_EQ(::MessageBoxA(progress.m_hWnd,
                            "同名のファイルが存在します。\n\n上書きしてもよろしいですか？",
                            "消費税", box.style),
              box.answer);
    EXPECT_TRUE(pictured);
  }
  progress.EndDialog(1);
}

// The display is tried before Qt, which would end the process on one it cannot open.
TEST(DisplayProbe, OnlyADisplayThatAnswersIsTaken) {
  const std::string xvfb = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
  ASSERT_FALSE(xvfb.empty());
  const struct {
    const char* x;
    const char* wayland;
    bool opens;
    const char* platformOrWhy;
  } cases[] = {
      {xvfb.c_str(), nullptr, true, "xcb"},
      {":4242", nullptr, false, ":4242"},  // stale: no server behind it
      {nullptr, "/nonexistent/wayland-0", false, "Wayland"},
      {":4242", "/nonexistent/wayland-0", false, ":4242"},
      {nullptr, nullptr, false, "not set"},
  };
  for (const auto& c : cases) {
    const char* saved = std::getenv("DISPLAY");
    const std::string restore = saved != nullptr ? saved : "";
    c.x != nullptr ? setenv("DISPLAY", c.x, 1) : unsetenv("DISPLAY");
    c.wayland != nullptr ? setenv("WAYLAND_DISPLAY", c.wayland, 1) : unsetenv("WAYLAND_DISPLAY");
    std::string platform;
    std::string why;
    const bool opens = winport::desktop::ProbeDisplay(&platform, &why);
    setenv("DISPLAY", restore.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(opens, c.opens) << c.platformOrWhy;
    EXPECT_NE((opens ? platform : why).find(c.platformOrWhy), std::string::npos) << platform << why;
  }
}

}  // namespace
