// The conditions dialog on the desktop front end, driven with real key and mouse clicks
// (QTest, Qt's offscreen platform): the scenarios of the headless tests must end the same
// way, and at every wait the widgets must show what the dialog model says.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/desktop/desktop_driver.h"
#include "ui/conditions_dialog.h"
#include "ui/tests/conditions_scenarios.h"
#include "winport/desktop/desktop_ui.h"
#include "winport/dialog_window.h"
#include "winport/message_box.h"

namespace {

using conditions_scenarios::Key;
using conditions_scenarios::Outcome;
using winport::UiEvent;
namespace desktop = winport::desktop;

class ConditionsDesktopTest : public conditions_scenarios::ConditionsFixture {
 protected:
  Outcome Drive(const ConditionsSetup& setup, const std::vector<UiEvent>& events,
                const std::vector<const char*>& saves = {}) {
    winport::DesktopUiBackend ui;
    winport::ScopedUiBackend scope(ui);
    Outcome outcome;
    std::size_t nextEvent = 0;
    std::size_t nextSave = 0;
    ui.onWait = [&](const winport::DialogWindow& dialog) {
      conditions_scenarios::RecordWait(outcome, dialog);
      EXPECT_EQ(desktop::Disagreements(dialog), "") << "at wait " << outcome.focus.size();
      if (outcome.focus.size() == 1) shownTip_ = desktop::ShownToolTip(dialog, IDC_TOOLTIP_ANCHOR);
      // When the inputs run out a person presses Esc, as a finished script does.
      desktop::Perform(dialog, nextEvent < events.size() ? events[nextEvent++] : Key(VK_ESCAPE));
      if (ui.InputPending()) return;
      ADD_FAILURE() << "the window took no input at wait " << outcome.focus.size();
      desktop::Perform(dialog, UiEvent::Close());
      if (!ui.InputPending()) {
        std::fprintf(stderr, "the window takes no input at all\n");
        std::abort();  // rather than wait for ever
      }
    };
    ui.onMessageBox = [&](const winport::MessageBoxRequest& box) {
      outcome.boxes.push_back(box.text);
      EXPECT_TRUE(desktop::AnswerMessageBox(winport::CautiousAnswer(box.style))) << box.text;
    };
    ui.onSaveFile = [&](const winport::SaveFileRequest& request) {
      outcome.saves.push_back(request);
      const char* name = nextSave < saves.size() ? saves[nextSave++] : nullptr;
      EXPECT_TRUE(
          desktop::AnswerSaveFile(name != nullptr ? std::optional(InFolder(name)) : std::nullopt));
    };
    RememberedSettings remembered(setup.userId, setup.selectionFirst, setup.selectionSecond,
                                  "Tessaly.env");
    ConditionsDialog dialog(setup, remembered);
    outcome.result = dialog.DoModal();
    outcome.conditions = dialog.Conditions();
    return outcome;
  }

  std::string shownTip_;  // what the tip anchor's widget showed at the first wait
};

TEST_F(ConditionsDesktopTest, KeyScenariosEndAsWithoutTheDesktop) {
  for (const conditions_scenarios::Scenario& s : conditions_scenarios::Scenarios()) {
    Expect(s, Drive(SetupFor(s.company), s.events, s.saves));
  }
}

TEST_F(ConditionsDesktopTest, TheToolTipReachesItsAnchorForGeneralTaxationOnly) {
  ConditionsSetup setup = conditions_scenarios::GeneralSetup();
  Drive(setup, {});
  EXPECT_EQ(shownTip_.rfind("連動元製品にて入力・保存した消費税申告書の情報を使用します。\n", 0),
            0u);
  setup.taxationKind = kSimplified;
  Drive(setup, {});
  EXPECT_EQ(shownTip_, "");
}

}  // namespace
