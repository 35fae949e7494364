// The conditions dialog driven as a person would drive it, through the recording backend:
// start-up presets, the keyboard and focus rules, month ranges, the method switch, Browse and
// the way it ends.
#include "ui/conditions_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "tests/support/temp_folder.h"
#include "ui/month_range.h"
#include "winport/dialog_window.h"
#include "winport/file_dialog.h"
#include "winport/recording_ui.h"

namespace {

using winport::UiEvent;

UiEvent Key(UINT vk, bool shift = false, bool alt = false) {
  return UiEvent::Key(vk, shift, false, alt);
}

// A general-taxation company with an April-to-March period and saved figures for 4 to 3.
ConditionsSetup GeneralSetup() {
  ConditionsSetup setup;
  setup.taxationKind = kGeneral;
  setup.companyName = " 株式会社テスト";
  setup.periodText = " 2019/04/01～2020/03/31";
  setup.taxationText = " 原則課税";
  setup.deductionLabel = "課税仕入控除";
  setup.deductionValue = " 個別対応方式";
  setup.userId = "user1";
  setup.selectionFirst = 1;
  setup.selectionSecond = 2;
  setup.periodStart = 20190401;
  setup.periodEnd = 20200331;
  setup.savedStartMonth = 4;
  setup.savedEndMonth = 3;
  setup.savedFiguresAvailable = true;
  return setup;
}

// What a control showed each time the dialog waited, and how the dialog ended.
struct Outcome {
  INT_PTR result = 0;
  ExportConditions conditions;
  std::vector<int> focus;          // the focused control's id at each wait (0: none)
  std::vector<std::string> texts;  // start, end and output texts at the first wait
  std::vector<bool> enabled;       // 1029, 1031, 1014, 1016, 1008, 1009 at the first wait
  std::string groupText;
  int checked = 0;  // the checked radio button at the first wait
  std::vector<std::string> boxes;
  std::vector<winport::SaveFileRequest> saves;
  std::size_t tips = 0;
  bool selectedWhole = true;  // at the last wait, a focused edit had its text selected whole
};

class ConditionsDialogTest : public ::testing::Test {
 protected:
  ConditionsDialogTest()
      : home_("LEDVIA_HOME", folder_.path().c_str()),
        tmp_("TMP", nullptr),
        temp_("TEMP", nullptr) {}

  Outcome Drive(const ConditionsSetup& setup, std::vector<UiEvent> events,
                std::deque<int> answers = {}, std::deque<std::optional<std::string>> saves = {}) {
    winport::RecordingUiBackend ui;
    winport::ScopedUiBackend scope(ui);
    ui.events.assign(events.begin(), events.end());
    ui.answers = std::move(answers);
    ui.saveAnswers = std::move(saves);
    Outcome outcome;
    ui.onWait = [&](const winport::DialogWindow& dialog) {
      const winport::Control* focused = dialog.Focused();
      outcome.focus.push_back(focused != nullptr ? focused->id : 0);
      outcome.selectedWhole = focused == nullptr || !focused->IsEdit() ||
                              (focused->selStart == 0 && focused->selEnd == focused->text.size());
      if (outcome.focus.size() > 1) return;
      for (int id : {IDC_START_MONTH, IDC_END_MONTH, IDC_OUTPUT_PATH}) {
        outcome.texts.push_back(dialog.Find(id)->text);
      }
      for (int id : {IDC_METHOD_JOURNAL, IDC_METHOD_SAVED, IDC_START_MONTH, IDC_END_MONTH,
                     IDC_OUTPUT_PATH, IDC_BROWSE}) {
        outcome.enabled.push_back(dialog.Find(id)->Enabled());
      }
      outcome.groupText = dialog.Find(IDC_OUTPUT_GROUP)->text;
      outcome.checked = dialog.Find(IDC_METHOD_SAVED)->check == BST_CHECKED     ? IDC_METHOD_SAVED
                        : dialog.Find(IDC_METHOD_JOURNAL)->check == BST_CHECKED ? IDC_METHOD_JOURNAL
                                                                                : 0;
    };
    RememberedSettings remembered(setup.userId, setup.selectionFirst, setup.selectionSecond,
                                  "Tessaly.env");
    ConditionsDialog dialog(setup, remembered);
    outcome.result = dialog.DoModal();
    outcome.conditions = dialog.Conditions();
    outcome.tips = dialog.ToolTips().Tips().size();
    for (const auto& box : ui.boxes) outcome.boxes.push_back(box.text);
    outcome.saves = ui.saveRequests;
    return outcome;
  }

  void Remember(const ConditionsSetup& setup, int method, int start, int end,
                const std::string& path) {
    RememberedSettings remembered(setup.userId, setup.selectionFirst, setup.selectionSecond,
                                  "Tessaly.env");
    ASSERT_TRUE(remembered.Write(static_cast<std::int16_t>(start), static_cast<std::int16_t>(end),
                                 path.c_str(), method));
  }

  std::string OutputFolder() const { return testsupport::WindowsPath(folder_ / "Output") + "\\"; }

  testsupport::TempFolder folder_;
  testsupport::EnvGuard home_;
  testsupport::EnvGuard tmp_;
  testsupport::EnvGuard temp_;
};

const char kRangeWrong[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
const char kCancelled[] = "｢消費税｣の集計を中止します。";

TEST_F(ConditionsDialogTest, StartsWithThePeriodDefaultsAndTheOutputFolder) {
  Outcome run = Drive(GeneralSetup(), {});
  EXPECT_EQ(run.texts, (std::vector<std::string>{"4", "3", OutputFolder() + "*.xml"}));
  EXPECT_EQ(run.enabled, (std::vector<bool>{true, true, true, true, true, true}));
  EXPECT_EQ(run.checked, IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.focus.front(), IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.tips, 1u);                   // general taxation only
  EXPECT_EQ(run.result, kConditionsCancel);  // no more input: Esc, with the cancel notice
  EXPECT_EQ(run.boxes, (std::vector<std::string>{kCancelled}));
}

TEST_F(ConditionsDialogTest, KeyboardMovesTheFocusAsTheDialogDefines) {
  struct Case {
    const char* name;
    std::vector<UiEvent> events;
    std::vector<int> focus;  // after the initial wait
  } cases[] = {
      {"tab order",
       std::vector<UiEvent>(8, Key(VK_TAB)),
       {IDC_START_MONTH, IDC_END_MONTH, IDC_OUTPUT_PATH, IDC_BROWSE, IDC_EXECUTE, IDC_CANCEL,
        IDC_METHOD_JOURNAL, IDC_START_MONTH}},
      {"enter chain",
       {Key(VK_TAB), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)},
       {IDC_START_MONTH, IDC_END_MONTH, IDC_OUTPUT_PATH, IDC_BROWSE, IDC_EXECUTE}},
      {"mnemonics",
       {Key('S', false, true), Key('E', false, true), Key('O', false, true)},
       {IDC_START_MONTH, IDC_END_MONTH, IDC_OUTPUT_PATH}},
      {"shift+tab", {Key(VK_TAB, true)}, {IDC_CANCEL}},
  };
  for (const Case& c : cases) {
    Outcome run = Drive(GeneralSetup(), c.events);
    std::vector<int> after(run.focus.begin() + 1, run.focus.end());
    EXPECT_EQ(after, c.focus) << c.name;
    EXPECT_TRUE(run.selectedWhole) << c.name;
  }
  // Enter on Browse opened the save dialog (cancelled) and left the focus on Execute.
  Outcome browse = Drive(GeneralSetup(), cases[1].events);
  ASSERT_EQ(browse.saves.size(), 1u);
  EXPECT_EQ(browse.saves[0].initialDirectory, OutputFolder());
  EXPECT_EQ(browse.saves[0].fileName, "*.xml");
  EXPECT_EQ(browse.saves[0].flags & OFN_FILEMUSTEXIST, 0u);
}

TEST_F(ConditionsDialogTest, WrongMonthRangesStayWithTheFocusInTheFieldAtFault) {
  struct Case {
    const char* start;
    const char* end;
    int focus;
  } cases[] = {{"3", "4", IDC_END_MONTH},    {"6", "5", IDC_END_MONTH},
               {"0", "13", IDC_START_MONTH}, {"", "3", IDC_START_MONTH},
               {"13", "3", IDC_START_MONTH}, {"4", "0", IDC_END_MONTH}};
  for (const Case& c : cases) {
    Outcome run = Drive(GeneralSetup(), {UiEvent::Type(IDC_START_MONTH, c.start),
                                         UiEvent::Type(IDC_END_MONTH, c.end), Key(VK_F12)});
    ASSERT_GE(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0], kRangeWrong) << c.start << "-" << c.end;
    EXPECT_EQ(run.focus.back(), c.focus) << c.start << "-" << c.end;
    EXPECT_TRUE(run.selectedWhole);
  }
}

TEST(MonthRange, RangesAgainstThePeriod) {
  const MonthRange aprilToMarch{4, 103};
  const MonthRange calendarYear{1, 12};
  struct Case {
    MonthRange period;
    std::int16_t start, end;
    MonthRangeError expected;
  } cases[] = {
      {aprilToMarch, 4, 3, kRangeRight},     {aprilToMarch, 12, 1, kRangeRight},
      {aprilToMarch, 4, 4, kRangeRight},     {aprilToMarch, 1, 3, kRangeRight},
      {aprilToMarch, 3, 4, kEndWrong},       {aprilToMarch, 6, 5, kEndWrong},
      {aprilToMarch, 0, 0, kStartWrong},     {aprilToMarch, 13, 3, kStartWrong},
      {aprilToMarch, 4, 13, kEndWrong},      {calendarYear, 1, 12, kRangeRight},
      {calendarYear, 5, 4, kStartWrong},     {calendarYear, 3, 5, kRangeRight},
      {MonthRange{4, 9}, 3, 9, kStartWrong}, {MonthRange{4, 9}, 4, 10, kStartWrong},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMonthRange(c.start, c.end, c.period), c.expected)
        << c.period.first << "/" << c.period.last << ": " << c.start << "-" << c.end;
  }
  EXPECT_EQ(DefaultMonthRange(20190401, 20200331).first, 4);
  EXPECT_EQ(DefaultMonthRange(20190401, 20200331).last, 103);
  EXPECT_EQ(DefaultMonthRange(20190101, 20191231).last, 12);
}

TEST_F(ConditionsDialogTest, ExecuteWritesNothingButEndsWithTheChoices) {
  std::string path = testsupport::WindowsPath(folder_ / "out.xml");
  Outcome run = Drive(GeneralSetup(),
                      {UiEvent::Type(IDC_START_MONTH, "12"), UiEvent::Type(IDC_END_MONTH, "1"),
                       UiEvent::Type(IDC_OUTPUT_PATH, path), Key(VK_F12)});
  EXPECT_EQ(run.result, kConditionsExecute);
  EXPECT_EQ(run.conditions.method, kMethodJournal);
  EXPECT_EQ(run.conditions.startMonth, 12);
  EXPECT_EQ(run.conditions.endMonth, 1);
  EXPECT_EQ(run.conditions.outputPath, path);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(folder_.Read("out.xml"));
}

TEST_F(ConditionsDialogTest, EnterOnARadioButtonRunsTheChecksInsteadOfClosing) {
  std::vector<UiEvent> events = {UiEvent::Type(IDC_START_MONTH, "3"),
                                 UiEvent::Type(IDC_END_MONTH, "4")};
  // Tab round to the journal radio button (focusing it does not click it), then Enter.
  events.insert(events.end(), 5, Key(VK_TAB));
  events.push_back(Key(VK_RETURN));
  Outcome run = Drive(GeneralSetup(), events);
  EXPECT_EQ(run.focus[7], IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.boxes.front(), kRangeWrong);
  EXPECT_EQ(run.focus.back(), IDC_END_MONTH);
  EXPECT_EQ(run.result, kConditionsCancel);  // closed only by the Esc that follows
}

TEST_F(ConditionsDialogTest, MethodSwitchShowsEachMethodsMonths) {
  ConditionsSetup setup = GeneralSetup();
  setup.savedStartMonth = 10;
  setup.savedEndMonth = 9;
  Outcome run =
      Drive(setup, {UiEvent::Type(IDC_START_MONTH, "7"), Key('P', false, true), Key(VK_F12)});
  EXPECT_EQ(run.conditions.method, kMethodSaved);
  EXPECT_EQ(run.conditions.startMonth, 10);
  EXPECT_EQ(run.conditions.endMonth, 9);
  // Back to journal aggregation: the start-up months again, not what was typed.
  run = Drive(setup, {UiEvent::Type(IDC_START_MONTH, "7"), Key('P', false, true),
                      Key('N', false, true), Key(VK_F12)});
  EXPECT_EQ(run.conditions.method, kMethodJournal);
  EXPECT_EQ(run.conditions.startMonth, 4);
}

TEST_F(ConditionsDialogTest, StartUpFromRememberedSettingsAndSetup) {
  ConditionsSetup setup = GeneralSetup();
  // A remembered journal record: its months and path.
  Remember(setup, kMethodJournal, 5, 6, "C:\\out\\a.xml");
  Outcome run = Drive(setup, {});
  EXPECT_EQ(run.texts, (std::vector<std::string>{"5", "6", "C:\\out\\a.xml"}));

  // A remembered saved-figures record: the saved months shown, the journal months are the
  // period's defaults, not the stored ones.
  setup.savedStartMonth = 10;
  setup.savedEndMonth = 9;
  Remember(setup, kMethodSaved, 7, 8, "");
  run = Drive(setup, {Key('N', false, true), Key(VK_F12)});
  EXPECT_EQ(run.checked, IDC_METHOD_SAVED);
  EXPECT_EQ(run.focus.front(), IDC_METHOD_SAVED);
  EXPECT_EQ(run.texts[0], "10");
  EXPECT_EQ(run.texts[2], OutputFolder() + "*.xml");
  EXPECT_EQ(run.enabled, (std::vector<bool>{true, true, false, false, true, true}));
  EXPECT_EQ(run.conditions.startMonth, 4);
  EXPECT_EQ(run.conditions.endMonth, 3);

  // The same without saved figures: journal method, both radio buttons disabled.
  setup.savedFiguresAvailable = false;
  setup.taxationKind = kSimplified;
  run = Drive(setup, {});
  EXPECT_EQ(run.checked, IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.texts[0], "4");
  EXPECT_EQ(run.texts[1], "3");
  EXPECT_EQ(run.enabled, (std::vector<bool>{false, false, true, true, true, true}));
  EXPECT_EQ(run.focus.front(), 0);
  EXPECT_EQ(run.tips, 0u);
}

TEST_F(ConditionsDialogTest, AFixedOutputPathDisablesTheFieldAndBrowse) {
  ConditionsSetup setup = GeneralSetup();
  setup.fixedOutputPath = testsupport::WindowsPath(folder_.WriteFile("fixed.xml", "old"));
  Outcome run = Drive(setup, {Key(VK_TAB), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)});
  EXPECT_EQ(run.texts[2], setup.fixedOutputPath);
  EXPECT_EQ(run.groupText, "出力先");
  EXPECT_FALSE(run.enabled[4]);
  EXPECT_FALSE(run.enabled[5]);
  // Enter in the end month goes to Execute; Execute accepts the existing file unasked.
  EXPECT_EQ(run.focus,
            (std::vector<int>{IDC_METHOD_JOURNAL, IDC_START_MONTH, IDC_END_MONTH, IDC_EXECUTE}));
  EXPECT_EQ(run.result, kConditionsExecute);
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(ConditionsDialogTest, RefusesExemptAndPastResultsDataBeforeItIsUsable) {
  const std::string tail = "\n\nアプリケーションを終了します。";
  ConditionsSetup exempt = GeneralSetup();
  exempt.deductionLabel.clear();
  exempt.deductionValue.clear();
  ConditionsSetup past = GeneralSetup();
  past.pastResults = true;
  for (const auto& [setup, text] :
       {std::pair{exempt, "消費税申告区分が免税のデータは、連携の対象として使用できません。"},
        std::pair{past, "過去実績データは、連携の対象として使用できません。"}}) {
    Outcome run = Drive(setup, {});
    EXPECT_EQ(run.result, kConditionsCancel);
    EXPECT_TRUE(run.focus.empty());  // never waited for input
    EXPECT_EQ(run.boxes, (std::vector<std::string>{text + tail}));
  }
}

TEST_F(ConditionsDialogTest, WithoutFoldersTheTemporaryFolderPathIsRejected) {
  testsupport::EnvGuard home("LEDVIA_HOME", folder_.WriteFile("not-a-folder", "").c_str());
  std::string temp = testsupport::WindowsPath(folder_.MakeFolder("tmp"));
  testsupport::EnvGuard tmp("TMP", temp.c_str());
  Outcome run = Drive(GeneralSetup(), {Key(VK_F12)});
  EXPECT_EQ(run.texts[2], temp + "\\*.xml");
  EXPECT_EQ(run.boxes.front(),
            "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。");
  EXPECT_EQ(run.focus.back(), IDC_OUTPUT_PATH);
}

TEST_F(ConditionsDialogTest, BrowseTakesTheChosenFile) {
  std::string chosen = testsupport::WindowsPath(folder_.path()) + "\\picked";
  Outcome run = Drive(GeneralSetup(), {UiEvent::Click(IDC_BROWSE), Key(VK_RETURN)}, {}, {chosen});
  EXPECT_EQ(run.conditions.outputPath, chosen + ".XML");
  EXPECT_EQ(run.focus[1], IDC_EXECUTE);
  EXPECT_EQ(run.result, kConditionsExecute);
}

TEST_F(ConditionsDialogTest, CancelEndsWithTheNoticeFromEveryRoute) {
  for (UiEvent event : {Key(VK_ESCAPE), UiEvent::Click(IDC_CANCEL), UiEvent::Close()}) {
    Outcome run = Drive(GeneralSetup(), {event, Key(VK_RETURN)});
    EXPECT_EQ(run.result, kConditionsCancel);
    EXPECT_EQ(run.boxes, (std::vector<std::string>{kCancelled}));
    EXPECT_EQ(run.focus.size(), 1u);
  }
}

}  // namespace
