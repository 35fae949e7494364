// The dialog model: the standard key handling, automatic radio buttons, edits and progress
// bars, driven through the recording backend as a person's input would be.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "winport/dialog_window.h"
#include "winport/mfc_controls.h"
#include "winport/mfc_dialog.h"
#include "winport/script/recording_ui.h"
#include "winport/window.h"

namespace {

using winport::ControlClass;
using winport::UiEvent;

// Template order: label "&Name" before its edit, a digits-only edit, a radio group (A, B),
// push buttons Go (default) and Quit.
winport::DialogTemplate TestTemplate(bool withDefault) {
  winport::DialogTemplate t;
  t.id = 1;
  t.title = "test";
  t.controls = {
      {10, ControlClass::Static, SS_LEFT | WS_GROUP, "&Name", {}},
      {11, ControlClass::Edit, WS_TABSTOP | WS_BORDER, "", {}},
      {12, ControlClass::Edit, ES_NUMBER | WS_TABSTOP, "", {}},
      {20, ControlClass::Button, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Alpha", {}},
      {21, ControlClass::Button, BS_AUTORADIOBUTTON | WS_TABSTOP, "&Beta", {}},
      {30,
       ControlClass::Button,
       (withDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | WS_GROUP,
       "&Go",
       {}},
      {31, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "&Quit", {}},
  };
  return t;
}

// Records the commands it receives and the focus at every wait.
class TestDialog : public CDialog {
 public:
  explicit TestDialog(bool withDefault = true) : CDialog(TestTemplate(withDefault)) {
    OnCommandId(20, [this] { commands.push_back(20); });
    OnCommandId(21, [this] { commands.push_back(21); });
    OnCommandId(30, [this] { commands.push_back(30); });
    OnCommandId(31, [this] { EndDialog(31); });
  }
  std::vector<int> commands;
  int okCount = 0;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SendDlgItemMessage(11, EM_LIMITTEXT, 4);
    // As data exchange does it: one button checked, the others cleared (which takes their
    // tab stops away).
    SendDlgItemMessage(20, BM_SETCHECK, BST_CHECKED);
    SendDlgItemMessage(21, BM_SETCHECK, BST_UNCHECKED);
    return TRUE;
  }
  void OnOK() override { ++okCount; }
};

struct Outcome {
  INT_PTR result = 0;
  std::vector<int> focusAtWait;  // control id with the focus at each wait (0: none)
  std::vector<std::string> textAtWait11;
  std::vector<std::size_t> caretAtWait11;
  std::vector<int> commands;
  int okCount = 0;
  std::vector<std::string> rejected;
};

Outcome Drive(std::vector<UiEvent> events, bool withDefault = true) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  ui.events.assign(events.begin(), events.end());
  Outcome run;
  ui.onWait = [&](const winport::DialogWindow& dialog) {
    const winport::Control* focused = dialog.Focused();
    run.focusAtWait.push_back(focused != nullptr ? focused->id : 0);
    run.textAtWait11.push_back(dialog.Find(11)->text);
    run.caretAtWait11.push_back(dialog.Find(11)->selEnd);
  };
  TestDialog dialog(withDefault);
  run.result = dialog.DoModal();
  run.commands = dialog.commands;
  run.okCount = dialog.okCount;
  run.rejected = ui.rejected;
  return run;
}

UiEvent Key(UINT vk, bool shift = false, bool alt = false) {
  return UiEvent::Key(vk, shift, false, alt);
}

TEST(DialogKeys, TabVisitsTabStopsInTemplateOrderAndOnlyTheCheckedRadio) {
  Outcome run = Drive({Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_TAB),
                       Key(VK_TAB, true), Key(VK_TAB, true)});
  // The framework focuses the first tab stop; Beta is skipped while Alpha is checked.
  EXPECT_EQ(run.focusAtWait, (std::vector<int>{11, 12, 20, 30, 31, 11, 31, 30}));
  EXPECT_EQ(run.result, IDCANCEL);  // the script ran dry: Esc
}

TEST(DialogKeys, ArrowsMoveAndClickWithinTheRadioGroupAndMoveTheTabStop) {
  Outcome run = Drive({UiEvent::Click(20), Key(VK_DOWN), Key(VK_DOWN), Key(VK_UP), Key(VK_RIGHT),
                       Key(VK_TAB), Key(VK_TAB, true)});
  EXPECT_EQ(run.focusAtWait, (std::vector<int>{11, 20, 21, 20, 21, 20, 30, 20}));
  EXPECT_EQ(run.commands, (std::vector<int>{20, 21, 20, 21, 20}));
  // After the last arrow Alpha is checked again, so Shift+Tab from Go lands on it.
}

TEST(DialogKeys, EnterPressesTheFocusedOrDefaultButtonElseIssuesOk) {
  struct Case {
    std::vector<UiEvent> events;
    bool withDefault;
    std::vector<int> commands;
    int ok;
  } cases[] = {
      {{Key(VK_RETURN)}, true, {30}, 0},                       // edit focused: the default button
      {{Key(VK_RETURN)}, false, {}, 1},                        // no default button: IDOK
      {{UiEvent::Click(20), Key(VK_RETURN)}, false, {20}, 1},  // radio focused: IDOK
      {{Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN)}, true, {}, 0},
  };
  for (const Case& c : cases) {
    Outcome run = Drive(c.events, c.withDefault);
    EXPECT_EQ(run.commands, c.commands);
    EXPECT_EQ(run.okCount, c.ok);
  }
  // The last case: Enter on the focused Quit button ends the dialog through its handler.
  EXPECT_EQ(Drive(cases[3].events).result, 31);
}

TEST(DialogKeys, MnemonicsLeadFromLabelsAndPressButtons) {
  Outcome run = Drive({Key(VK_TAB), Key('N', false, true), Key('B', false, true),
                       Key('G', false, true), Key('Q', false, true)});
  // Alt+N: the label leads to the edit after it; Alt+B clicks Beta; Alt+G presses Go.
  EXPECT_EQ(run.focusAtWait, (std::vector<int>{11, 12, 11, 21, 21}));
  EXPECT_EQ(run.commands, (std::vector<int>{21, 30}));
  EXPECT_EQ(run.result, 31);
}

TEST(DialogEdits, TypingRespectsLimitDigitsAndDoubleByteCharacters) {
  Outcome run = Drive({UiEvent::Type(11, "abcdef"),
                       UiEvent::Type(11,
                                     "\x95\x5C"
                                     "ab"),
                       Key(VK_BACK), Key(VK_BACK), Key(VK_BACK), UiEvent::Char("\x83\x5C"),
                       UiEvent::Type(12, "1a2"), UiEvent::Type(11, ""), UiEvent::Type(11, "abc"),
                       UiEvent::Char("\x83\x5C")});  // one byte of room: refused whole
  EXPECT_EQ(run.textAtWait11,
            (std::vector<std::string>{"", "abcd",
                                      "\x95\x5C"
                                      "ab",
                                      "\x95\x5C"
                                      "a",
                                      "\x95\x5C", "", "\x83\x5C", "\x83\x5C", "", "abc", "abc"}));
}

TEST(DialogEdits, ClipboardKeysCopyCutAndPasteWithinTheLimit) {
  auto ctrl = [](UINT vk) { return UiEvent::Key(vk, false, true, false); };
  auto shifted = [](UINT vk) { return Key(vk, true); };
  struct Case {
    std::string clipboard;
    std::vector<UiEvent> events;
    std::vector<std::string> textAtWait;  // edit 11 (limit 4) before each event and at the end
    std::string clipboardAfter;
  };
  const Case cases[] = {
      {"",
       {UiEvent::Type(11, "ab"), ctrl('A'), ctrl('C'), Key(VK_END), ctrl('V'), ctrl('V')},
       {"", "ab", "ab", "ab", "ab", "abab", "abab"},
       "ab"},
      {"",
       {UiEvent::Type(11, "abc"), ctrl('A'), shifted(VK_DELETE), shifted(VK_INSERT),
        shifted(VK_INSERT)},
       {"", "abc", "abc", "", "abc", "abca"},
       "abc"},
      // Copying or cutting nothing leaves the clipboard as it was.
      {"keep", {UiEvent::Type(11, "ab"), ctrl('C'), ctrl('X')}, {"", "ab", "ab", "ab"}, "keep"},
      // One line only, and never half a double-byte character (a 0x5C second byte).
      {"1\r\n2", {ctrl('V')}, {"", "1"}, "1\r\n2"},
      {"a\x95\x5C"
       "b",
       {UiEvent::Type(11, "xy"), ctrl('V'), ctrl('A'), ctrl('V'), Key(VK_HOME), ctrl('V')},
       {"", "xy", "xya", "xya",
        "a\x95\x5C"
        "b",
        "a\x95\x5C"
        "b",
        "a\x95\x5C"
        "b"},
       "a\x95\x5C"
       "b"},
  };
  for (const Case& c : cases) {
    winport::RecordingUiBackend clipboard;
    clipboard.SetClipboardText(c.clipboard);
    Outcome run = Drive(c.events);
    EXPECT_EQ(run.textAtWait11, c.textAtWait) << c.clipboard;
    EXPECT_EQ(clipboard.ClipboardText(), c.clipboardAfter) << c.clipboard;
  }
}

TEST(DialogEdits, AClickPlacesTheCaretOnACharacterBoundaryOrLeavesIt) {
  Outcome run = Drive({UiEvent::Type(11,
                                     "a\x95\x5C"
                                     "b"),
                       UiEvent::Click(11, 2), UiEvent::Click(11, 99), UiEvent::Click(11, 0),
                       UiEvent::Click(12), UiEvent::Click(11)});
  EXPECT_EQ(run.caretAtWait11, (std::vector<std::size_t>{0, 4, 1, 4, 0, 0, 0}));
  EXPECT_EQ(run.focusAtWait, (std::vector<int>{11, 11, 11, 11, 11, 12, 11}));
}

TEST(DialogInput, InputsThatCannotApplyAreRejectedAndChangeNothing) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  ui.events = {UiEvent::Click(99), UiEvent::Type(20, "x"), UiEvent::Click(21)};
  TestDialog dialog;
  ui.onWait = [&](const winport::DialogWindow& window) {
    if (ui.events.size() == 1) ::EnableWindow(window.Find(21)->handle, FALSE);
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(ui.rejected.size(), 3u);
  EXPECT_TRUE(dialog.commands.empty());
}

// A modeless dialog made on the current backend, holding one progress bar.
struct BarDialog {
  static winport::DialogTemplate Template() {
    winport::DialogTemplate t;
    t.controls = {{5, ControlClass::Progress, 0, "", {}}};
    return t;
  }
  BarDialog() : dialog(Template()) {
    created = dialog.Create();
    bar.Attach(::GetDlgItem(dialog.m_hWnd, 5));
  }
  ~BarDialog() { bar.Detach(); }
  CDialog dialog;
  CProgressCtrl bar;
  bool created = false;
};

TEST(ProgressBar, StepItWrapsToTheLowerBoundPastTheEnd) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  BarDialog d;
  ASSERT_TRUE(d.created);
  CProgressCtrl& bar = d.bar;
  bar.SetRange(2, 10);
  bar.SetStep(3);
  bar.SetPos(0);  // clamped to the range
  std::vector<int> positions;
  for (int i = 0; i < 4; ++i) {
    bar.StepIt();
    positions.push_back(bar.GetPos());
  }
  EXPECT_EQ(positions, (std::vector<int>{5, 8, 2, 5}));
}

// A front end that draws on its own clock; it counts the notices that reach it and draws only
// when told to. Its clock moves only when the test says a tick has passed, so what is due
// does not depend on how busy the machine is.
class OwnClockUi : public winport::RecordingUiBackend {
 public:
  OwnClockUi() { SetDrawsOnItsOwnClock(&clock_); }
  void Notify(const winport::DialogWindow& dialog, winport::WindowNotice notice) override {
    ++reached[notice];
    RecordingUiBackend::Notify(dialog, notice);
  }
  void Draw() { CountDraw(); }
  void Tick() { clock_.fetch_add(1); }
  std::map<winport::WindowNotice, long> reached;

 private:
  std::atomic<unsigned> clock_{0};
};

TEST(WindowNotices, AFrontEndOnItsOwnClockGetsWhatIsDueNotEveryStep) {
  using winport::WindowNotice;
  OwnClockUi ui;
  ASSERT_TRUE(ui.DrawsOnItsOwnClock());
  winport::ScopedUiBackend scope(ui);
  BarDialog d;
  ASSERT_TRUE(d.created);
  CDialog& dialog = d.dialog;
  CProgressCtrl& bar = d.bar;
  dialog.ShowWindow(SW_SHOW);
  auto changes = [&] {
    return ui.reached[WindowNotice::Changed] + ui.reached[WindowNotice::Repaint];
  };
  auto fronts = [&] {
    return ui.reached[WindowNotice::BroughtToTop] + ui.reached[WindowNotice::Foreground];
  };
  auto burst = [&] {
    for (int i = 0; i < 100000; ++i) {
      bar.StepIt();
      dialog.UpdateWindow();
      dialog.BringWindowToTop();
      dialog.SetForegroundWindow();
    }
  };
  EXPECT_EQ(ui.reached[WindowNotice::Shown], 1);

  // A burst within one tick: the first change and the first request for the front only.
  ui.Tick();
  burst();
  EXPECT_EQ(changes(), 1);
  EXPECT_EQ(fronts(), 1);
  // Each tick lets one more of each through.
  for (int tick = 0; tick < 3; ++tick) {
    ui.Tick();
    burst();
  }
  EXPECT_EQ(changes(), 4);
  EXPECT_EQ(fronts(), 4);

  // After a draw the next change is due at once, whatever the tick.
  ui.Draw();
  bar.StepIt();
  EXPECT_EQ(changes(), 5);
  // A window stepped now and then (slower than the tick) has every step reach the front end.
  for (int i = 0; i < 2; ++i) {
    ui.Tick();
    const long before = changes();
    bar.StepIt();
    EXPECT_EQ(changes(), before + 1);
  }
  // Windows appearing and going are never held back.
  dialog.ShowWindow(SW_HIDE);
  dialog.ShowWindow(SW_SHOW);
  dialog.ShowWindow(SW_HIDE);
  EXPECT_EQ(ui.reached[WindowNotice::Hidden], 2);
  EXPECT_EQ(ui.reached[WindowNotice::Shown], 2);
}

TEST(WindowNotices, EveryOtherFrontEndGetsEveryNotice) {
  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  BarDialog d;
  ASSERT_TRUE(d.created);
  for (int i = 0; i < 1000; ++i) d.dialog.UpdateWindow();
  EXPECT_EQ(ui.notices.size(), 1000u);
}

}  // namespace
