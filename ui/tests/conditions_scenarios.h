// The conditions dialog driven by keys and clicks: one table of scenarios that the headless
// tests (the recording backend) and the desktop tests (real widgets under QTest) both run and
// check alike, with the fixture and the record of what the dialog showed that both use.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "tests/support/temp_folder.h"
#include "ui/conditions_dialog.h"
#include "winport/dialog_window.h"
#include "winport/user_windows.h"

namespace conditions_scenarios {

using winport::UiEvent;

inline UiEvent Key(UINT vk, bool shift = false, bool alt = false) {
  return UiEvent::Key(vk, shift, false, alt);
}

inline const char kRangeWrong[] =
    "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
inline const char kCancelled[] = "｢消費税｣の集計を中止します。";
inline const char kInvalidPath[] =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";

// A general-taxation company with an April-to-March period and saved figures for 4 to 3.
inline ConditionsSetup GeneralSetup() {
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

// What the dialog showed each time it waited, and how it ended.
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
  std::string anchorTip;      // the tool-tip control 1032 carried at the first wait
  bool selectedWhole = true;  // at the last wait, a focused edit had its text selected whole
};

// Notes what `dialog` shows as it waits for input.
inline void RecordWait(Outcome& outcome, const winport::DialogWindow& dialog) {
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
  outcome.anchorTip = dialog.Find(IDC_TOOLTIP_ANCHOR)->toolTip;
  outcome.checked = dialog.Find(IDC_METHOD_SAVED)->check == BST_CHECKED     ? IDC_METHOD_SAVED
                    : dialog.Find(IDC_METHOD_JOURNAL)->check == BST_CHECKED ? IDC_METHOD_JOURNAL
                                                                            : 0;
}

enum class Company {
  General,
  SavedMonthsDiffer,  // saved figures for 10 to 9
  FixedPath,          // the output path fixed to an existing file
  NoSavedFigures,     // both methods disabled: no radio button can take the focus
};

// One scenario: the inputs a person gives (then Esc, as when input runs out; message boxes
// get the cautious answer) and what must come of them.
struct Scenario {
  std::string name;
  Company company = Company::General;
  std::vector<UiEvent> events;
  // Answers to the save-file dialogs: a file name in the test folder, nullptr for Cancel;
  // Cancel once they run out.
  std::vector<const char*> saves;

  std::vector<int> focus;  // the focused control at each wait, the first included
  INT_PTR result = kConditionsCancel;
  std::vector<std::string> boxes = {kCancelled};
  std::size_t saveDialogs = 0;
  int method = -1;  // the conditions read back; -1: not checked
  int startMonth = -1;
  int endMonth = -1;
  const char* outputName = nullptr;  // the output path, a file in the test folder
};

// The scenarios, keyboard rules first. (GCC 12 warns about members left to their defaults
// in designated initializers, which is what they are for here.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
inline std::vector<Scenario> Scenarios() {
  const int journal = IDC_METHOD_JOURNAL;
  const int saved = IDC_METHOD_SAVED;
  const int start = IDC_START_MONTH;
  const int end = IDC_END_MONTH;
  const int output = IDC_OUTPUT_PATH;
  const int browse = IDC_BROWSE;
  const int execute = IDC_EXECUTE;
  const int cancel = IDC_CANCEL;
  std::vector<Scenario> scenarios = {
      {.name = "tab order",
       .events = std::vector<UiEvent>(8, Key(VK_TAB)),
       .focus = {journal, start, end, output, browse, execute, cancel, journal, start}},
      {.name = "shift+tab", .events = {Key(VK_TAB, true)}, .focus = {journal, cancel}},
      {.name = "enter chain, Enter on Browse",
       .events = {Key(VK_TAB), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)},
       .focus = {journal, start, end, output, browse, execute},
       .saveDialogs = 1},
      {.name = "mnemonics of the labels and the group box",
       .events = {Key('S', false, true), Key('E', false, true), Key('O', false, true)},
       .focus = {journal, start, end, output}},
      {.name = "Enter on a radio button runs the checks instead of closing",
       .events = {UiEvent::Type(start, "3"), UiEvent::Type(end, "4"), Key(VK_TAB), Key(VK_TAB),
                  Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN)},
       .focus = {journal, start, end, output, browse, execute, cancel, journal, end},
       .boxes = {kRangeWrong, kCancelled}},
      {.name = "F12 with the saved-figures method, chosen by its mnemonic",
       .company = Company::SavedMonthsDiffer,
       .events = {UiEvent::Type(start, "7"), Key('P', false, true), Key(VK_F12)},
       .focus = {journal, start, saved, saved},
       .boxes = {kRangeWrong, kCancelled},
       .method = kMethodSaved,
       .startMonth = 10,
       .endMonth = 9},
      {.name = "back to journal aggregation: the start-up months, not what was typed",
       .company = Company::SavedMonthsDiffer,
       .events = {UiEvent::Type(start, "7"), Key('P', false, true), Key('N', false, true),
                  Key(VK_F12)},
       .focus = {journal, start, saved, journal, output},
       .boxes = {kInvalidPath, kCancelled},
       .method = kMethodJournal,
       .startMonth = 4,
       .endMonth = 3},
      {.name = "fixed output path: Enter in the end month goes to Execute",
       .company = Company::FixedPath,
       .events = {Key(VK_TAB), Key(VK_RETURN), Key(VK_RETURN), Key(VK_RETURN)},
       .focus = {journal, start, end, execute},
       .result = kConditionsExecute,
       .boxes = {},
       .method = kMethodJournal,
       .startMonth = 4,
       .endMonth = 3},
      {.name = "Browse takes the chosen file, then Enter on Execute",
       .events = {UiEvent::Click(browse), Key(VK_RETURN)},
       .saves = {"picked"},
       .focus = {journal, execute},
       .result = kConditionsExecute,
       .boxes = {},
       .saveDialogs = 1,
       .outputName = "picked.XML"},
      {.name = "without saved figures the start month has the focus, Enter moves on",
       .company = Company::NoSavedFigures,
       .events = {Key(VK_RETURN)},
       .focus = {start, end}},
      {.name = "F12 with Shift, Ctrl or Alt is no Execute",
       .events = {Key(VK_F12, true), UiEvent::Key(VK_F12, false, true, false),
                  Key(VK_F12, false, true)},
       .focus = {journal, journal, journal, journal}},
      {.name = "a modified Enter is the dialog's standard Enter, not the field chain",
       .events = {Key(VK_TAB), Key(VK_RETURN, false, true), Key(VK_RETURN, true),
                  UiEvent::Key(VK_RETURN, false, true, false)},
       .focus = {journal, start, start, output, output},
       .boxes = {kInvalidPath, kInvalidPath, kCancelled}},
      {.name = "Shift+Left selects what typing replaces",
       .events = {Key(VK_TAB), Key(VK_END), Key(VK_LEFT, true), UiEvent::Char("1"), Key(VK_F12)},
       .focus = {journal, start, start, start, start, output},
       .boxes = {kInvalidPath, kCancelled},
       .startMonth = 1},
      {.name = "Ctrl+Z takes back what was typed",
       .events = {Key(VK_TAB), UiEvent::Char("1"), UiEvent::Key('Z', false, true, false),
                  Key(VK_F12)},
       .focus = {journal, start, start, start, output},
       .boxes = {kInvalidPath, kCancelled},
       .startMonth = 4},
      {.name = "a double-click selects the word, which typing replaces",
       .events = {UiEvent::Click(start, 0), UiEvent::DoubleClick(start, 0), UiEvent::Char("5"),
                  Key(VK_F12)},
       .focus = {journal, start, start, start, output},
       .boxes = {kInvalidPath, kCancelled},
       .startMonth = 5},
      {.name = "Esc", .events = {Key(VK_ESCAPE), Key(VK_RETURN)}, .focus = {journal}},
      {.name = "Cancel button",
       .events = {UiEvent::Click(cancel), Key(VK_RETURN)},
       .focus = {journal}},
      {.name = "close command", .events = {UiEvent::Close(), Key(VK_RETURN)}, .focus = {journal}},
  };
  // Wrong month ranges leave the focus in the field at fault, its text selected.
  const struct {
    const char* start;
    const char* end;
    int focus;
  } ranges[] = {{"3", "4", end},  {"6", "5", end},    {"0", "13", start},
                {"", "3", start}, {"13", "3", start}, {"4", "0", end}};
  for (const auto& range : ranges) {
    Scenario scenario{
        .name = std::string("wrong month range ") + range.start + "-" + range.end,
        .events = {UiEvent::Type(start, range.start), UiEvent::Type(end, range.end), Key(VK_F12)},
        .focus = {journal, start, end, range.focus},
        .boxes = {kRangeWrong, kCancelled}};
    scenarios.push_back(scenario);
  }
  return scenarios;
}
#pragma GCC diagnostic pop

// The folders and settings every run of the dialog starts from: an empty application folder
// tree in a temporary folder, no remembered settings, no temporary folder variables.
class ConditionsFixture : public ::testing::Test {
 protected:
  ConditionsFixture()
      : home_("LEDVIA_HOME", folder_.path().c_str()),
        tmp_("TMP", nullptr),
        temp_("TEMP", nullptr) {}

  ConditionsSetup SetupFor(Company kind) const {
    ConditionsSetup setup = GeneralSetup();
    if (kind == Company::SavedMonthsDiffer) {
      setup.savedStartMonth = 10;
      setup.savedEndMonth = 9;
    } else if (kind == Company::NoSavedFigures) {
      setup.savedFiguresAvailable = false;
    } else if (kind == Company::FixedPath) {
      setup.fixedOutputPath = testsupport::WindowsPath(folder_.WriteFile("fixed.xml", "old"));
    }
    return setup;
  }

  // The Windows path of a file in the test folder.
  std::string InFolder(const char* name) const {
    return testsupport::WindowsPath(folder_.path()) + "\\" + name;
  }

  std::string OutputFolder() const { return testsupport::WindowsPath(folder_ / "Output") + "\\"; }

  // Checks a run against its scenario.
  void Expect(const Scenario& s, const Outcome& run) const {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(run.focus, s.focus);
    EXPECT_TRUE(run.selectedWhole);
    EXPECT_EQ(run.result, s.result);
    EXPECT_EQ(run.boxes, s.boxes);
    EXPECT_EQ(run.saves.size(), s.saveDialogs);
    if (s.method >= 0) {
      EXPECT_EQ(run.conditions.method, s.method);
    }
    if (s.startMonth >= 0) {
      EXPECT_EQ(run.conditions.startMonth, s.startMonth);
    }
    if (s.endMonth >= 0) {
      EXPECT_EQ(run.conditions.endMonth, s.endMonth);
    }
    if (s.outputName != nullptr) {
      EXPECT_EQ(run.conditions.outputPath, InFolder(s.outputName));
    }
  }

  testsupport::TempFolder folder_;
  testsupport::EnvGuard home_;
  testsupport::EnvGuard tmp_;
  testsupport::EnvGuard temp_;
};

}  // namespace conditions_scenarios
