// The terminal front end in a real terminal: tmux runs dialog_demo, the test presses keys as a
// person would and reads the screen back; then the script the session recorded is replayed
// and must end the same way.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/shell.h"
#include "tests/support/temp_folder.h"
#include "winport/terminal/terminal_canvas.h"

namespace {

using testsupport::Utf8;

std::string BinDir() {
  const char* dir = std::getenv("QL_BIN_DIR");
  return dir != nullptr ? dir : "";
}

// <chrono> does not compile with the code page 932 execution character set.
void Pause() { usleep(100 * 1000); }

using testsupport::Shell;
using testsupport::ShellRun;

// A tmux server of the test's own with one 100 x 30 window.
class Tmux {
 public:
  Tmux() : tmux_("LANG=C.UTF-8 tmux -u -f /dev/null -L qltest-" + std::to_string(getpid())) {}
  ~Tmux() { Shell(tmux_ + " kill-server 2>/dev/null"); }

  bool Start(const std::string& command, int cols = 100, int rows = 30) {
    return Shell(tmux_ + " new-session -d -x " + std::to_string(cols) + " -y " +
                 std::to_string(rows) + " -s demo '" + command + "'")
               .exitCode == 0;
  }
  void Resize(int cols, int rows) {
    Shell(tmux_ + " resize-window -t demo -x " + std::to_string(cols) + " -y " +
          std::to_string(rows));
  }
  void Keys(const std::string& keys) { Shell(tmux_ + " send-keys -t demo " + keys); }
  void Type(const std::string& text) { Shell(tmux_ + " send-keys -t demo -l '" + text + "'"); }
  std::vector<std::string> Screen() {
    std::vector<std::string> rows;
    std::string text = Shell(tmux_ + " capture-pane -p -t demo 2>/dev/null").output;
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      rows.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return rows;
  }
  // Waits until some row shows `text` (or, with `shown` false, none does).
  bool WaitFor(const std::string& text, bool shown = true) {
    for (int i = 0; i < 200; ++i) {
      if (!Row(text).empty() == shown) return true;
      Pause();
    }
    return false;
  }
  std::string Dump() {
    std::string all;
    for (const std::string& row : Screen()) all += row + "\n";
    return all;
  }
  std::string Row(const std::string& text) {
    for (const std::string& row : Screen()) {
      if (row.find(text) != std::string::npos) return row;
    }
    return "";
  }

 private:
  std::string tmux_;
};

// The terminal column where `text` starts in a screen row.
int ColumnOf(const std::string& row, const std::string& text) {
  std::size_t at = row.find(text);
  if (at == std::string::npos) return -1;
  return winport::TextWidth(winport::WideFromUtf8(row.substr(0, at)));
}

// The lines the demo prints about its result.
std::string ResultLines(const std::string& output) {
  std::string lines;
  for (std::size_t start = 0; start < output.size();) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    if (line.rfind("result=", 0) == 0 || line.rfind("edit ", 0) == 0) lines += line + "\n";
    start = end + 1;
  }
  return lines;
}

TEST(TerminalEndToEnd, TypingIntoTheFormAndItsRecordedReplayEndTheSameWay) {
  if (Shell("command -v tmux >/dev/null 2>&1").exitCode != 0) GTEST_SKIP() << "tmux is missing";
  ASSERT_TRUE(winport::UseUtf8Ctype());
  testsupport::TempFolder temp;
  const std::string script = temp / "session.script";
  const std::string demo = BinDir() + "/dialog_demo";
  Tmux tmux;
  ASSERT_TRUE(tmux.Start("WINPORT_UI=terminal WINPORT_UI_RECORD=" + script + " " + demo + " >" +
                         (temp / "out") + " 2>" + (temp / "err") + "; echo $? >" + (temp / "rc")));
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"消費税 - 集計条件")))
      << tmux.Dump() << temp.Read("err").value_or("");

  // Captions of different widths end in the same column.
  const int colon = ColumnOf(tmux.Row(Utf8(u8"事業所名")), Utf8(u8"："));
  EXPECT_GT(colon, 0);
  for (const char8_t* caption : {u8"会計期間", u8"消費税申告区分", u8"月度(S)"})
    EXPECT_EQ(ColumnOf(tmux.Row(Utf8(caption)), Utf8(u8"：")), colon) << Utf8(caption);

  // Alt+S leads to the start month; 13 is refused in a message box.
  tmux.Keys("M-s");
  tmux.Type("13");
  tmux.Keys("F12");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"集計期間に誤りがあります。"))) << tmux.Dump();
  EXPECT_NE(tmux.Row(Utf8(u8"[警告]")), "");
  EXPECT_NE(tmux.Row("[>OK<]"), "");
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"集計期間に誤りがあります。"), false));

  // The box gave the focus back to the start month with its text selected: 5 replaces it.
  tmux.Type("5");
  std::string row;
  for (int i = 0; i < 100 && row.find('5') == std::string::npos; ++i) {
    std::string shown = tmux.Row(Utf8(u8"月度(S)"));
    std::size_t from = shown.find(Utf8(u8"："));
    std::size_t to = shown.find(Utf8(u8"月度(S)"));
    if (from != std::string::npos) row = shown.substr(from + 3, to - from - 3);
    if (row.find('5') == std::string::npos) Pause();
  }
  EXPECT_EQ(row.substr(row.find_first_not_of(" _"), 1), "5") << row;
  EXPECT_EQ(row.find_first_not_of(" _", row.find('5') + 1), std::string::npos) << row;

  tmux.Keys("F12");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"集計を実行しますか"))) << tmux.Dump();
  tmux.Keys("y");
  for (int i = 0; i < 200 && !temp.Read("rc"); ++i) Pause();
  ASSERT_EQ(temp.Read("rc").value_or(""), "0\n") << temp.Read("err").value_or("");
  const std::string terminal = ResultLines(temp.Read("out").value_or(""));
  EXPECT_NE(terminal.find("result=1005\nedit 1014=5\n"), std::string::npos) << terminal;

  ShellRun replay = Shell("WINPORT_UI=script:" + script + " " + demo + " </dev/null 2>&1");
  EXPECT_EQ(replay.exitCode, 0) << replay.output;
  EXPECT_EQ(ResultLines(replay.output), terminal) << replay.output;
}

// A person at the terminal whose output goes to a pipe (`run-sample.sh | tee log`) gets the
// dialog on the terminal; Ctrl+C reaches the dialog instead of ending the run, Esc cancels;
// a relative recording lands in the folder the caller started in, not in the program's own.
TEST(TerminalEndToEnd, AnExportWithItsOutputPipedIsAnsweredAtTheTerminal) {
  if (Shell("command -v tmux >/dev/null 2>&1").exitCode != 0) GTEST_SKIP() << "tmux is missing";
  testsupport::TempFolder temp;
  const std::string run =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u WINPORT_UI LEDVIA_HOME=" + (temp / "home") +
      " WINPORT_UI_RECORD=session.txt " + BinDir() + "/ledvia-host -- " + BinDir() + "/tessaly";
  Tmux tmux;
  // rc is written once the pipe's reader has written everything it read.
  ASSERT_TRUE(tmux.Start("cd " + temp.path() + " && (" + run +
                         " 2>err; echo $? >status) | cat >out; mv status rc"));
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"消費税 - 集計条件")))
      << tmux.Dump() << temp.Read("err").value_or("");
  tmux.Keys("C-c");
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"集計を中止します"))) << tmux.Dump();
  tmux.Keys("Enter");
  for (int i = 0; i < 200 && !temp.Read("rc"); ++i) Pause();
  EXPECT_EQ(temp.Read("rc").value_or(""), "1\n") << temp.Read("err").value_or("");
  EXPECT_NE(temp.Read("out").value_or("").find("lparam=1"), std::string::npos);
  const std::string recorded = temp.Read("session.txt").value_or("");
  EXPECT_NE(recorded.find("key ctrl+C\nkey Esc\nanswer ok\n"), std::string::npos) << recorded;
}

// The demo in a terminal, its output in `temp`; the form's title shown (or, for a small
// terminal, the notice).
class DemoSession {
 public:
  explicit DemoSession(const std::string& wait, int cols = 100, int rows = 30) {
    const std::string demo = BinDir() + "/dialog_demo";
    started_ = tmux.Start("WINPORT_UI=terminal " + demo + " >" + (temp / "out") + " 2>" +
                              (temp / "err") + "; echo $? >" + (temp / "rc"),
                          cols, rows) &&
               tmux.WaitFor(wait);
  }
  bool started() const { return started_; }
  // The demo's result lines once it has ended.
  std::string Result() {
    for (int i = 0; i < 200 && !temp.Read("rc"); ++i) Pause();
    return ResultLines(temp.Read("out").value_or(""));
  }

  testsupport::TempFolder temp;
  Tmux tmux;

 private:
  bool started_ = false;
};

TEST(TerminalEndToEnd, ASmallTerminalSaysHowLargeItMustBeUntilItIs) {
  if (Shell("command -v tmux >/dev/null 2>&1").exitCode != 0) GTEST_SKIP() << "tmux is missing";
  DemoSession session(Utf8(u8"以上に広げてください"), 60, 18);
  ASSERT_TRUE(session.started()) << session.tmux.Dump();
  const std::string notice = session.tmux.Row(Utf8(u8"以上に広げてください"));
  EXPECT_NE(notice.find("74 x 24"), std::string::npos) << session.tmux.Dump();
  EXPECT_EQ(session.tmux.Row(Utf8(u8"実行(F12)")), "") << session.tmux.Dump();

  session.tmux.Resize(80, 24);
  ASSERT_TRUE(session.tmux.WaitFor(Utf8(u8"実行(F12)"))) << session.tmux.Dump();
  EXPECT_EQ(session.tmux.Row(Utf8(u8"以上に広げてください")), "");
  session.tmux.Keys("Escape");
  EXPECT_EQ(session.Result().substr(0, 9), "result=2\n");
}

TEST(TerminalEndToEnd, BrowseAfterARefusalSelectionWithShiftAndTheToolTip) {
  if (Shell("command -v tmux >/dev/null 2>&1").exitCode != 0) GTEST_SKIP() << "tmux is missing";
  ASSERT_TRUE(winport::UseUtf8Ctype());
  DemoSession session(Utf8(u8"消費税 - 集計条件"));
  ASSERT_TRUE(session.started()) << session.tmux.Dump();
  Tmux& tmux = session.tmux;

  // F1 shows the tip of the sign beside the saved-figures choice; Enter closes it.
  tmux.Keys("F1");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"入力・保存した申告書の情報を使用します。"))) << tmux.Dump();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"入力・保存した申告書の情報を使用します。"), false));

  // A path in a folder that does not exist is refused; the field then holds it as typed, not
  // joined to the folder the dialog started in.
  const std::string missing = "Z:\\tmp\\missing-" + std::to_string(getpid()) + "\\a.xml";
  tmux.Keys("M-d");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"保存ファイルを指定"))) << tmux.Dump();
  for (int i = 0; i < 16; ++i) tmux.Keys("BSpace");
  tmux.Type(missing);
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"パスが存在しません。"))) << tmux.Dump();
  tmux.Keys("Enter");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"パスが存在しません。"), false)) << tmux.Dump();
  const std::string field = tmux.Row("missing-");
  EXPECT_NE(field.find(missing), std::string::npos) << tmux.Dump();
  EXPECT_EQ(field.find("TEMP"), std::string::npos) << tmux.Dump();
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitFor(Utf8(u8"保存ファイルを指定"), false)) << tmux.Dump();

  // Shift+Left selects the name in the output field, typing replaces it, Ctrl+Z brings the
  // name back and a second Ctrl+Z the typing.
  tmux.Keys("M-o");
  tmux.Keys("End");
  for (int i = 0; i < 5; ++i) tmux.Keys("S-Left");
  tmux.Type("b.xml");
  ASSERT_TRUE(tmux.WaitFor("C:\\TEMP\\b.xml")) << tmux.Dump();
  tmux.Keys("C-z");
  ASSERT_TRUE(tmux.WaitFor("C:\\TEMP\\*.xml")) << tmux.Dump();
  tmux.Keys("C-z");
  ASSERT_TRUE(tmux.WaitFor("C:\\TEMP\\b.xml")) << tmux.Dump();
  tmux.Keys("M-s");
  tmux.Keys("S-End");
  tmux.Type("7");
  tmux.Keys("Escape");
  EXPECT_NE(session.Result().find("edit 1014=7\nedit 1016=3\nedit 1008=C:\\TEMP\\b.xml\n"),
            std::string::npos)
      << session.temp.Read("out").value_or("");
}

}  // namespace
