// The desktop front end's own behaviour under Qt's offscreen platform: what keys mean, the
// boxes and the save-file dialog as Windows has them, clicks, the close button, the wait
// cursor and the redraw limit. (This file is compiled with UTF-8 literals, like the front
// end: texts for the dialog model go through Utf8ToCp932.)
#include <time.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

#include "tests/support/desktop/desktop_driver.h"
#include "tests/support/temp_folder.h"
#include "winport/desktop/desktop_ui.h"
#include "winport/desktop/dialog_view.h"
#include "winport/desktop/key_input.h"
#include "winport/desktop/standard_boxes.h"
#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/mfc_dialog.h"
#include "winport/user_windows.h"

namespace {

using winport::UiEvent;
namespace desktop = winport::desktop;

std::string Cp932(const char* utf8) { return winport::Utf8ToCp932(utf8); }

long long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A dialog with two push buttons (the second disabled), an edit and a progress bar.
winport::DialogTemplate SmallTemplate(DWORD style) {
  winport::DialogTemplate t;
  t.title = "small";
  t.font = Cp932("ＭＳ Ｐゴシック");
  t.cx = 120;
  t.cy = 60;
  t.style = style;
  t.controls = {
      {10, winport::ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "&Go", {5, 5, 40, 14}},
      {11, winport::ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "Off", {50, 5, 40, 14}},
      {12, winport::ControlClass::Edit, WS_BORDER | WS_TABSTOP, "", {5, 25, 60, 12}},
      {13, winport::ControlClass::Progress, 0, "", {5, 42, 110, 10}},
  };
  return t;
}

constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kSystemModal = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SYSMODAL;

class SmallDialog : public CDialog {
 public:
  explicit SmallDialog(DWORD style = kModal) : CDialog(SmallTemplate(style)) {
    OnCommandId(10, [this] { EndDialog(10); });
  }

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    GetDlgItem(11)->EnableWindow(FALSE);
    return TRUE;
  }
};

class DesktopUiTest : public ::testing::Test {
 protected:
  winport::DesktopUiBackend ui_;
  winport::ScopedUiBackend scope_{ui_};
};

TEST(DesktopKeys, KeysAndTextBecomeTheInputsWindowsWouldSend) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    std::vector<UiEvent> expected;
  } cases[] = {
      {Qt::Key_Tab, Qt::NoModifier, "\t", {UiEvent::Key(VK_TAB)}},
      {Qt::Key_Backtab, Qt::ShiftModifier, "", {UiEvent::Key(VK_TAB, true)}},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", {UiEvent::Key(VK_RETURN)}},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", {UiEvent::Key(VK_ESCAPE)}},
      {Qt::Key_F12, Qt::ShiftModifier, "", {UiEvent::Key(VK_F12, true)}},
      {Qt::Key_F4, Qt::AltModifier, "", {UiEvent::Key(VK_F4, false, false, true)}},
      {Qt::Key_S, Qt::AltModifier, "s", {UiEvent::Key('S', false, false, true)}},
      {Qt::Key_7, Qt::ControlModifier, "7", {UiEvent::Key('7', false, true, false)}},
      {Qt::Key_Space, Qt::AltModifier, " ", {UiEvent::Key(VK_SPACE, false, false, true)}},
      {Qt::Key_Space, Qt::NoModifier, " ", {UiEvent::Char(" ")}},
      {Qt::Key_A, Qt::ShiftModifier, "A", {UiEvent::Char("A")}},
      {Qt::Key_4, Qt::KeypadModifier, "4", {UiEvent::Char("4")}},
      {Qt::Key_yen, Qt::NoModifier, "¥", {UiEvent::Char("\\")}},  // 0x5C, shown as the yen
      {Qt::Key_unknown, Qt::NoModifier, "あ", {UiEvent::Char(Cp932("あ"))}},
      {Qt::Key_Shift, Qt::ShiftModifier, "", {}},
      {Qt::Key_Insert, Qt::ShiftModifier, "", {UiEvent::Key(VK_INSERT, true)}},
      {Qt::Key_Print, Qt::NoModifier, "", {}},
      {Qt::Key_Percent, Qt::ControlModifier, "%", {}},
  };
  for (const Case& c : cases) {
    QKeyEvent key(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf8(c.text));
    std::vector<UiEvent> inputs = desktop::InputsOfKey(key);
    ASSERT_EQ(inputs.size(), c.expected.size()) << c.key;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      const UiEvent& got = inputs[i];
      const UiEvent& want = c.expected[i];
      EXPECT_EQ(got.kind, want.kind) << c.key;
      EXPECT_EQ(got.vk, want.vk) << c.key;
      EXPECT_EQ(got.text, want.text) << c.key;
      EXPECT_EQ(std::tuple(got.shift, got.ctrl, got.alt),
                std::tuple(want.shift, want.ctrl, want.alt))
          << c.key;
    }
  }
  // What an input method commits: one input a character, surrogate pairs whole.
  std::vector<UiEvent> committed = desktop::InputsOfText(QString::fromUtf8("消😀税"));
  ASSERT_EQ(committed.size(), 2u);
  EXPECT_EQ(committed[1].text, Cp932("税"));
}

TEST(DesktopBoxes, FrameworkFiltersBecomeQtNameFilters) {
  struct Case {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"Xml Files (*.xml)|*.xml||", {"Xml Files (*.xml)"}},
      {"Text|*.txt;*.log|All (*.*)|*.*||", {"Text (*.txt *.log)", "All (*.*)"}},
      {"", {}},
      {"Only a name", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(desktop::NameFilters(c.filter), c.expected) << c.filter;
}

TEST_F(DesktopUiTest, MessageBoxesHaveWindowsButtonsAndKeys) {
  struct Case {
    UINT style;
    QStringList buttons;
    QMessageBox::Icon icon;
    std::vector<Qt::Key> keys;  // all but the last leave the box up
    int answer;
  } cases[] = {
      {MB_OK | MB_ICONINFORMATION, {"OK"}, QMessageBox::Information, {Qt::Key_Escape}, IDOK},
      {MB_OK | MB_ICONEXCLAMATION, {"OK"}, QMessageBox::Warning, {Qt::Key_Return}, IDOK},
      {MB_OKCANCEL, {"OK", "キャンセル"}, QMessageBox::NoIcon, {Qt::Key_Escape}, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION,
       {"はい(&Y)", "いいえ(&N)"},
       QMessageBox::Question,
       {Qt::Key_Escape, Qt::Key_N},
       IDNO},
      {MB_YESNO | MB_ICONSTOP,
       {"はい(&Y)", "いいえ(&N)"},
       QMessageBox::Critical,
       {Qt::Key_Return},
       IDYES},
  };
  for (const Case& c : cases) {
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    bool stayedUp = true;
    ui_.onMessageBox = [&](const winport::MessageBoxRequest&) {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      icon = box->icon();
      title = box->windowTitle();
      text = box->text();
      for (std::size_t i = 0; i + 1 < c.keys.size(); ++i) {
        QTest::keyClick(box, c.keys[i]);
        QTest::qWait(20);
        stayedUp = stayedUp && box->isVisible();
      }
      QTest::keyClick(box, c.keys.back());
      (void)QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
      if (box->isVisible()) box->reject();
    };
    EXPECT_EQ(
        ::MessageBoxA(nullptr, Cp932("一行目\n二行目").c_str(), Cp932("消費税").c_str(), c.style),
        c.answer)
        << c.style;
    EXPECT_EQ(buttons, c.buttons) << c.style;
    EXPECT_EQ(icon, c.icon) << c.style;
    EXPECT_EQ(title, QString::fromUtf8("消費税"));
    EXPECT_EQ(text, QString::fromUtf8("一行目\n二行目"));
    EXPECT_TRUE(stayedUp) << c.style;
  }
}

TEST_F(DesktopUiTest, ABoxIsModalToItsShownOwnerAndInFrontWhenItIs) {
  SmallDialog progress(kSystemModal);
  ASSERT_TRUE(progress.Create());
  QWidget* parent = nullptr;
  Qt::WindowModality modality = Qt::NonModal;
  bool onTop = false;
  ui_.onMessageBox = [&](const winport::MessageBoxRequest&) {
    QWidget* box = QApplication::activeModalWidget();
    parent = box->parentWidget();
    modality = box->windowModality();
    onTop = (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
    desktop::AnswerMessageBox(IDOK);
  };
  // Hidden, the owner cannot hold the box: it goes to the screen, modal to the program.
  ::MessageBoxA(progress.m_hWnd, "hidden owner", "c", MB_OK);
  EXPECT_EQ(parent, nullptr);
  EXPECT_EQ(modality, Qt::ApplicationModal);
  progress.ShowWindow(SW_SHOW);
  ::MessageBoxA(progress.m_hWnd, "shown owner", "c", MB_OK);
  EXPECT_EQ(parent, desktop::DialogView::Find(progress.m_hWnd));
  EXPECT_EQ(modality, Qt::WindowModal);
  EXPECT_TRUE(onTop);
}

TEST_F(DesktopUiTest, SaveDialogWorksInLinuxFoldersAndAnswersWithWindowsPaths) {
  testsupport::TempFolder folder;
  folder.MakeFolder("sub");
  winport::DriveMap map;
  map.RemoveDrive('Z');
  map.SetDrive('X', {folder.path(), DRIVE_FIXED});
  testsupport::DriveMapGuard drives(map);

  winport::SaveFileRequest request;
  request.title = Cp932("保存ファイルを指定");
  request.initialDirectory = "X:\\sub\\";
  request.fileName = "*.xml";
  request.filter = "Xml Files (*.xml)|*.xml||";
  QString directory;
  QStringList filters;
  QString shownTitle;
  QString shownName = "unset";
  ui_.onSaveFile = [&](const winport::SaveFileRequest&) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    directory = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    shownTitle = dialog->windowTitle();
    shownName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    EXPECT_TRUE(desktop::AnswerSaveFile(std::string("X:\\sub\\out")));
  };
  EXPECT_EQ(ui_.AskSaveFileName(request), std::optional<std::string>("X:\\sub\\out"));
  EXPECT_EQ(directory, QString::fromStdString(folder / "sub"));
  EXPECT_EQ(filters, QStringList{"Xml Files (*.xml)"});
  EXPECT_EQ(shownTitle, QString::fromUtf8("保存ファイルを指定"));
  EXPECT_EQ(shownName, "");  // a wildcard name only filters

  // A file outside every drive is refused and the dialog asked again.
  int asked = 0;
  std::vector<std::string> notices;
  ui_.onMessageBox = [&](const winport::MessageBoxRequest& box) {
    notices.push_back(box.text);
    desktop::AnswerMessageBox(IDOK);
  };
  ui_.onSaveFile = [&](const winport::SaveFileRequest&) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (++asked == 1) {
      QLineEdit* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      name->setText("/var/outside.xml");
      QTest::keyClick(name, Qt::Key_Return);
    } else {
      desktop::AnswerSaveFile(std::nullopt);
    }
  };
  EXPECT_EQ(ui_.AskSaveFileName(request), std::nullopt);
  EXPECT_EQ(asked, 2);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].rfind(Cp932("選んだフォルダー"), 0), 0u);
}

TEST_F(DesktopUiTest, ClicksActOnEnabledButtonsReleasedOverThemAndAreRecorded) {
  testsupport::TempFolder folder;
  winport::DesktopUiBackend recording(folder / "session.txt");
  winport::ScopedUiBackend scope(recording);
  bool disabledTookIt = true;
  bool draggedOffTookIt = true;
  recording.onWait = [&](const winport::DialogWindow& dialog) {
    desktop::DialogView* view = desktop::DialogView::Find(dialog.handle());
    QWidget* go = view->WidgetOf(*dialog.Find(10));
    QWidget* off = view->WidgetOf(*dialog.Find(11));
    QTest::mouseClick(off, Qt::LeftButton);
    disabledTookIt = recording.InputPending();
    QTest::mousePress(go, Qt::LeftButton);
    QTest::mouseRelease(go, Qt::LeftButton, Qt::NoModifier,
                        go->rect().bottomRight() + QPoint(30, 30));
    draggedOffTookIt = recording.InputPending();
    desktop::Perform(dialog, UiEvent::Click(10));
  };
  SmallDialog dialog;
  EXPECT_EQ(dialog.DoModal(), 10);
  EXPECT_FALSE(disabledTookIt);
  EXPECT_FALSE(draggedOffTookIt);
  std::ifstream script(folder / "session.txt");
  std::stringstream lines;
  lines << script.rdbuf();
  EXPECT_EQ(lines.str(),
            "# recorded as a person worked; replay with WINPORT_UI=script:PATH\nclick 10\n");
}

TEST_F(DesktopUiTest, AClickInAnEditPlacesTheModelsCaretThere) {
  std::vector<std::size_t> carets;
  int step = 0;
  ui_.onWait = [&](const winport::DialogWindow& dialog) {
    const winport::Control& edit = *dialog.Find(12);
    QWidget* line = desktop::DialogView::Find(dialog.handle())->WidgetOf(edit);
    const int middle = line->height() / 2;
    switch (step++) {
      case 0:
        desktop::Perform(dialog, UiEvent::Type(12, Cp932("ab消c")));
        break;
      case 1:
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, QPoint(1, middle));
        break;
      case 2:
        carets.push_back(edit.selEnd);
        QTest::mouseClick(line, Qt::LeftButton, Qt::NoModifier, QPoint(line->width() - 2, middle));
        break;
      default:
        carets.push_back(edit.selEnd);
        desktop::Perform(dialog, UiEvent::Click(10));
    }
  };
  SmallDialog dialog;
  EXPECT_EQ(dialog.DoModal(), 10);
  EXPECT_EQ(carets, (std::vector<std::size_t>{0, 5}));  // "ab消c" is five bytes
}

TEST_F(DesktopUiTest, AnInputMethodComposesInTheEditAndCommitsCharacters) {
  int step = 0;
  bool composingTookInput = true;
  std::string typed;
  ui_.onWait = [&](const winport::DialogWindow& dialog) {
    QWidget* edit = desktop::DialogView::Find(dialog.handle())->WidgetOf(*dialog.Find(12));
    switch (step++) {
      case 0:
        desktop::Perform(dialog, UiEvent::Click(12));
        break;
      case 1: {
        QInputMethodEvent composing(QString::fromUtf8("しょうひ"), {});
        QApplication::sendEvent(edit, &composing);
        composingTookInput = ui_.InputPending();
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("消費"));
        QApplication::sendEvent(edit, &commit);
        break;
      }
      default:  // both characters have been handed over

        typed = dialog.Find(12)->text;
        desktop::Perform(dialog, UiEvent::Click(10));
        return;
    }
    if (!ui_.InputPending()) desktop::Perform(dialog, UiEvent::Key(VK_ESCAPE));
  };
  SmallDialog dialog;
  EXPECT_EQ(dialog.DoModal(), 10);
  EXPECT_FALSE(composingTookInput);
  EXPECT_EQ(typed, Cp932("消費"));
}

TEST_F(DesktopUiTest, WindowsKeepTheirTemplatesFrameAndOnlyWaitingOnesClose) {
  SmallDialog progress(kSystemModal);
  ASSERT_TRUE(progress.Create());
  progress.ShowWindow(SW_SHOW);
  desktop::DialogView* view = desktop::DialogView::Find(progress.m_hWnd);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(view->windowFlags() & Qt::WindowCloseButtonHint);  // no system menu
  view->close();  // nothing waits for it: the request is dropped
  EXPECT_TRUE(view->isVisible());
  EXPECT_FALSE(ui_.InputPending());

  bool closeButton = false;
  ui_.onWait = [&](const winport::DialogWindow& dialog) {
    QWidget* window = desktop::DialogView::Find(dialog.handle());
    closeButton = (window->windowFlags() & Qt::WindowCloseButtonHint) != 0;
    desktop::Perform(dialog, UiEvent::Close());
  };
  SmallDialog modal;
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
  EXPECT_TRUE(closeButton);
}

TEST_F(DesktopUiTest, WaitCursorCoversTheWindowsButNotABox) {
  std::optional<Qt::CursorShape> inBox;
  ui_.onMessageBox = [&](const winport::MessageBoxRequest&) {
    inBox = QApplication::overrideCursor()->shape();
    desktop::AnswerMessageBox(IDOK);
  };
  {
    CWaitCursor wait;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ::MessageBoxA(nullptr, "x", "c", MB_OK);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(inBox, Qt::ArrowCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopUiTest, TheClipboardIsTheDesktopsInCodePage932) {
  ui_.SetClipboardText(Cp932("消費税"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("消費税"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("C:\\出力\\😀.xml"));
  EXPECT_EQ(ui_.ClipboardText(), Cp932("C:\\出力\\?.xml"));
}

TEST_F(DesktopUiTest, RedrawsAtMostAboutThirtyTimesASecondYetShowTheLastState) {
  SmallDialog progress(kSystemModal);
  ASSERT_TRUE(progress.Create());
  progress.ShowWindow(SW_SHOW);
  progress.SendDlgItemMessage(13, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
  const long long before = ui_.Drawing().draws;
  const long long start = NowMs();
  long long elapsed = 0;
  for (int i = 0; elapsed < 300; ++i) {
    progress.SendDlgItemMessage(13, PBM_SETPOS, i % 1001);
    ::BringWindowToTop(progress.m_hWnd);
    ::UpdateWindow(progress.m_hWnd);
    elapsed = NowMs() - start;
  }
  const long long draws = ui_.Drawing().draws - before;
  EXPECT_LE(draws, elapsed / 33 + 1) << elapsed << " ms";
  EXPECT_GE(draws, 2) << elapsed << " ms";  // and it does keep drawing as it goes
  // The state last notified is on the screen by the time a box asks something.
  std::string disagreements = "not asked";
  ui_.onMessageBox = [&](const winport::MessageBoxRequest&) {
    disagreements = desktop::Disagreements(*progress.Window());
    desktop::AnswerMessageBox(IDOK);
  };
  ::MessageBoxA(progress.m_hWnd, "done", "c", MB_OK);
  EXPECT_EQ(disagreements, "");
}

}  // namespace
