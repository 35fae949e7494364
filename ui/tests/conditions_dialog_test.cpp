// The conditions dialog driven as a person would drive it, through the recording backend:
// start-up presets, the keyboard and focus rules (the scenarios shared with the desktop
// tests), month ranges, the method switch, Browse and the way it ends.
#include "ui/conditions_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "aggregate/month_range.h"
#include "resources/dialogs.h"
#include "tests/support/temp_folder.h"
#include "ui/tests/conditions_scenarios.h"
#include "winport/dialog_window.h"
#include "winport/file_dialog.h"
#include "winport/script/recording_ui.h"

namespace {

using conditions_scenarios::GeneralSetup;
using conditions_scenarios::kCancelled;
using conditions_scenarios::Key;
using conditions_scenarios::kRangeWrong;
using conditions_scenarios::Outcome;
using winport::UiEvent;

class ConditionsDialogTest : public conditions_scenarios::ConditionsFixture {
 protected:
  Outcome Drive(const ConditionsSetup& setup, std::vector<UiEvent> events,
                std::deque<int> answers = {}, std::deque<std::optional<std::string>> saves = {}) {
    winport::RecordingUiBackend ui;
    winport::ScopedUiBackend scope(ui);
    ui.events.assign(events.begin(), events.end());
    ui.answers = std::move(answers);
    ui.saveAnswers = std::move(saves);
    Outcome outcome;
    ui.onWait = [&](const winport::DialogWindow& dialog) {
      conditions_scenarios::RecordWait(outcome, dialog);
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
};

TEST_F(ConditionsDialogTest, StartsWithThePeriodDefaultsAndTheOutputFolder) {
  Outcome run = Drive(GeneralSetup(), {});
  EXPECT_EQ(run.texts, (std::vector<std::string>{"4", "3", OutputFolder() + "*.xml"}));
  EXPECT_EQ(run.enabled, (std::vector<bool>{true, true, true, true, true, true}));
  EXPECT_EQ(run.checked, IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.focus.front(), IDC_METHOD_JOURNAL);
  EXPECT_EQ(run.tips, 1u);  // general taxation only
  EXPECT_EQ(
      run.anchorTip.rfind("連動元製品にて入力・保存した消費税申告書の情報を使用します。\n", 0), 0u);
  EXPECT_EQ(run.result, kConditionsCancel);  // no more input: Esc, with the cancel notice
  EXPECT_EQ(run.boxes, (std::vector<std::string>{kCancelled}));
}

TEST_F(ConditionsDialogTest, KeyScenarios) {
  for (const conditions_scenarios::Scenario& s : conditions_scenarios::Scenarios()) {
    std::deque<std::optional<std::string>> saves;
    for (const char* name : s.saves) {
      saves.push_back(name != nullptr ? std::optional<std::string>(InFolder(name)) : std::nullopt);
    }
    Expect(s, Drive(SetupFor(s.company), s.events, {}, saves));
  }
}

TEST_F(ConditionsDialogTest, BrowseAsksInTheOutputFieldsFolderForAFileToWrite) {
  Outcome browse = Drive(GeneralSetup(), {UiEvent::Click(IDC_BROWSE)});
  ASSERT_EQ(browse.saves.size(), 1u);
  EXPECT_EQ(browse.saves[0].initialDirectory, OutputFolder());
  EXPECT_EQ(browse.saves[0].fileName, "*.xml");
  EXPECT_EQ(browse.saves[0].title, "保存ファイルを指定");
  EXPECT_EQ(browse.saves[0].filter, "Xml Files (*.xml)|*.xml||");
  EXPECT_EQ(browse.saves[0].flags & OFN_FILEMUSTEXIST, 0u);
  EXPECT_EQ(browse.focus.back(), IDC_EXECUTE);  // also after Cancel
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
  EXPECT_EQ(run.focus.front(), IDC_START_MONTH);  // the first tab stop that can take it
  EXPECT_EQ(run.tips, 0u);
  EXPECT_EQ(run.anchorTip, "");
}

TEST_F(ConditionsDialogTest, AFixedOutputPathDisablesTheFieldAndBrowse) {
  ConditionsSetup setup = SetupFor(conditions_scenarios::Company::FixedPath);
  Outcome run = Drive(setup, {});
  EXPECT_EQ(run.texts[2], setup.fixedOutputPath);
  EXPECT_EQ(run.groupText, "出力先");
  EXPECT_FALSE(run.enabled[4]);
  EXPECT_FALSE(run.enabled[5]);
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

}  // namespace
