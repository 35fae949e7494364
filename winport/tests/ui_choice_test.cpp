// Which front end a process gets by default: the desktop only for a person at a terminal of
// a graphical session, so that piped runs (tests, hosts feeding scripts) never wait for a
// window nobody sees.
#include <gtest/gtest.h>

#include <string>

#include "winport/ui_backend.h"

namespace {

using winport::UiChoice;

TEST(UiChoice, FollowsTheSettingTheTerminalsAndTheDisplay) {
  struct Case {
    const char* setting;
    bool stdinTerminal, display, platformNamed, desktopBuilt;
    UiChoice expected;
    bool warns;
    const char* displayProblem = "";
  } cases[] = {
      // Unset: the desktop for a terminal session with a display, else as before.
      {"", true, true, false, true, UiChoice::Desktop, false},
      {"", false, true, false, true, UiChoice::Script, false},
      {"", false, true, true, true, UiChoice::Script, false},
      {"", true, false, true, true, UiChoice::Terminal, false},  // offscreen: only asked
      {"", true, true, false, false, UiChoice::Terminal, false},
      // A person at the keyboard gets the terminal, whatever standard output is (a pipe to tee).
      {"", true, false, false, true, UiChoice::Terminal, false},
      {"", true, false, false, false, UiChoice::Terminal, false},
      {"", false, false, false, false, UiChoice::Script, false},
      // A display named but not answering (a stale DISPLAY) is no display, and says so.
      {"", true, false, false, true, UiChoice::Terminal, true, "cannot open the display :9"},
      // Asked for.
      {"desktop", false, true, false, true, UiChoice::Desktop, false},
      {"desktop", false, false, true, true, UiChoice::Desktop, false},
      {"desktop", true, false, false, true, UiChoice::Terminal, true},
      {"desktop", false, false, false, true, UiChoice::Script, true, "cannot open :9"},
      {"desktop", false, true, false, false, UiChoice::Script, true},
      {"terminal", false, true, false, true, UiChoice::Terminal, false},
      {"script:-", true, true, false, true, UiChoice::Script, false},
      {"script:/tmp/x", true, true, false, true, UiChoice::Script, false},
      {"window", true, true, false, true, UiChoice::Script, true},
  };
  for (const Case& c : cases) {
    winport::UiEnvironment environment{c.setting,       c.stdinTerminal, c.display,
                                       c.platformNamed, c.desktopBuilt,  c.displayProblem};
    std::string warning;
    EXPECT_EQ(winport::ChooseUi(environment, &warning), c.expected)
        << c.setting << " " << c.stdinTerminal << c.display << c.platformNamed << c.desktopBuilt;
    EXPECT_EQ(!warning.empty(), c.warns) << c.setting << ": " << warning;
    EXPECT_NE(warning.find(c.displayProblem), std::string::npos) << warning;
  }
}

}  // namespace
