// The terminal front end's pieces that need no terminal: cells of double-width text, control
// captions, and the keys of the boxes drawn over the form. The whole front end runs in a
// real terminal in tests/e2e/terminal_e2e_test.cpp.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "tests/support/temp_folder.h"
#include "winport/dialog_manager.h"
#include "winport/dialog_window.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"
#include "winport/script/script_recorder.h"
#include "winport/terminal/terminal_boxes.h"
#include "winport/terminal/terminal_canvas.h"
#include "winport/terminal/terminal_form.h"
#include "winport/user_windows.h"

namespace {

using winport::TextCanvas;

class TerminalUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_TRUE(winport::UseUtf8Ctype());
  }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(TerminalUiTest, DoubleWidthTextKeepsColumnsAndIsNeverHalved) {
  TextCanvas canvas(1, 12);
  // "事業所名" is 8 columns: the text after it starts at column 10.
  EXPECT_EQ(canvas.Put(0, 2, L"事業所名"), 10);
  canvas.Put(0, 10, L"：x", 0);
  EXPECT_EQ(canvas.RowText(0), L"  事業所名：");
  // Writing over the right half of 所 blanks its left half too.
  canvas.Put(0, 7, L"a");
  EXPECT_EQ(canvas.RowText(0), L"  事業 a名：");
  // A double-width character that would straddle the clip edge leaves a blank.
  TextCanvas clipped(1, 6);
  EXPECT_EQ(clipped.Put(0, 0, L"abc消", 0, 4), 5);
  EXPECT_EQ(clipped.RowText(0), L"abc");
  EXPECT_FALSE(clipped.at(0, 4).trailing);
}

TEST_F(TerminalUiTest, CaptionsDropTheMnemonicMarker) {
  struct Case {
    std::string cp932;
    std::wstring shown;
    int mnemonic;
  } cases[] = {
      {"\x8C\x8E\x93\x78(&S)", L"月度(S)", 3},
      {"A&&B", L"A&B", -1},
      {"&&&X", L"&X", 1},
      // 0x5C as a trail byte (ソ) is no backslash and no marker.
      {"\x83\x5C&O", L"ソO", 1},
      {"", L"", -1},
      {"end&", L"end&", -1},
  };
  for (const Case& c : cases) {
    int mnemonic = -2;
    EXPECT_EQ(winport::ShownText(c.cp932, &mnemonic), c.shown) << c.cp932;
    EXPECT_EQ(mnemonic, c.mnemonic) << c.cp932;
  }
}

TEST_F(TerminalUiTest, MessageBoxKeysFollowTheButtons) {
  struct Case {
    UINT style;
    winport::UiEvent event;
    int answer;  // 0: the box stays
  } cases[] = {
      {MB_OK, winport::UiEvent::Key(VK_RETURN), IDOK},
      {MB_OK, winport::UiEvent::Key(VK_ESCAPE), IDOK},
      {MB_YESNO, winport::UiEvent::Key(VK_ESCAPE), 0},  // no Cancel button: Esc does nothing
      {MB_YESNO, winport::UiEvent::Key(VK_RETURN), IDYES},
      {MB_YESNO, winport::UiEvent::Char("n"), IDNO},
      {MB_YESNO, winport::UiEvent::Key('Y', false, false, true), IDYES},
      {MB_OKCANCEL, winport::UiEvent::Key(VK_ESCAPE), IDCANCEL},
      {MB_OKCANCEL, winport::UiEvent::Char("y"), 0},
  };
  for (const Case& c : cases) {
    winport::MessageBoxView view({nullptr, "text", "caption", c.style});
    bool ignored = false;
    EXPECT_EQ(view.Handle(c.event, &ignored), c.answer) << c.style << " " << c.event.vk;
  }
  // Moving the focus changes what Enter and Space press.
  winport::MessageBoxView view({nullptr, "text", "caption", MB_YESNO});
  bool ignored = false;
  EXPECT_EQ(view.Handle(winport::UiEvent::Key(VK_RIGHT), &ignored), 0);
  EXPECT_EQ(view.Handle(winport::UiEvent::Char(" "), &ignored), IDNO);
}

TEST_F(TerminalUiTest, SaveFileFieldEditsWholeCharacters) {
  winport::SaveFileRequest request;
  request.initialDirectory = "C:\\\x83\x5C";  // C:\ソ (trail byte 0x5C)
  request.fileName = "*.xml";
  winport::SaveFileView view(request);
  EXPECT_EQ(view.path(), "C:\\\x83\x5C\\*.xml");
  std::optional<std::string> result;
  bool ignored = false;
  // A wildcard names no file: Enter keeps the dialog open.
  EXPECT_FALSE(view.Handle(winport::UiEvent::Key(VK_RETURN), &result, &ignored));
  EXPECT_TRUE(ignored);
  for (int i = 0; i < 7; ++i) view.Handle(winport::UiEvent::Key(VK_BACK), &result, &ignored);
  EXPECT_EQ(view.path(), "C:\\");  // the double-byte character went in one step
  view.Handle(winport::UiEvent::Char("\x8F\xC1"), &result, &ignored);
  ASSERT_TRUE(view.Handle(winport::UiEvent::Key(VK_RETURN), &result, &ignored));
  EXPECT_EQ(result, "C:\\\x8F\xC1");
  EXPECT_TRUE(view.Handle(winport::UiEvent::Key(VK_ESCAPE), &result, &ignored));
  EXPECT_EQ(result, std::nullopt);
}

TEST(ScriptRecorder, TypingBecomesTheEditsFinalTextBeforeTheNextInput) {
  winport::DialogTemplate t;
  t.controls = {
      {10, winport::ControlClass::Edit, WS_TABSTOP, "", {}},
      {11, winport::ControlClass::Edit, WS_TABSTOP, "", {}},
      {12, winport::ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "&Go", {}},
  };
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scoped(ui);
  winport::DialogWindow dialog(t, true);
  SetFocus(dialog.Find(10)->handle);
  testsupport::TempFolder temp;
  winport::ScriptRecorder recorder(temp / "session.script");
  using winport::UiEvent;
  for (const UiEvent& event : {
           UiEvent::Char("1"),
           UiEvent::Char("2"),
           UiEvent::Key(VK_BACK),
           UiEvent::Char("\x8F\xC1"),
           UiEvent::Key(VK_LEFT),  // 1消, caret before 消
           UiEvent::Key(VK_TAB),
           UiEvent::Char("x"),  // into 11
           UiEvent::Click(11, 0),
           UiEvent::Key(VK_END, true),
           UiEvent::DoubleClick(11, 1),
           UiEvent::Key('S', false, false, true),
           UiEvent::Key(VK_TAB, true),
           UiEvent::Key(VK_TAB),
           UiEvent::Key(VK_TAB),  // to the button
           UiEvent::Char(" "),
           UiEvent::Key(VK_HOME),
       }) {
    recorder.Input(dialog, event);
    winport::DeliverInput(dialog, event, nullptr);
  }
  recorder.MessageBoxAnswer(IDNO);
  recorder.SaveAnswer(std::nullopt);
  const std::vector<std::string> expected = {
      "# recorded as a person worked; replay with WINPORT_UI=script:PATH",
      testsupport::Utf8(u8"type 10 1消"),
      "key Tab",
      "type 11 x",
      "click 11 0",
      "key shift+End",
      "dblclick 11 1",
      "key alt+S",
      "key shift+Tab",
      "key Tab",
      "key Tab",
      "key Space",
      "key Home",
      "answer no",
      "save cancel",
  };
  EXPECT_EQ(recorder.lines(), expected);
  std::string file;
  for (const std::string& line : expected) file += line + "\n";
  EXPECT_EQ(temp.Read("session.script"), file);
}

}  // namespace
