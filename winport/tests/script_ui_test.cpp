// The script backend: commands drive a dialog, answers reach message boxes and the save-file
// dialog, and a line that does not fit the moment ends the script with a report.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "winport/dialog_window.h"
#include "winport/message_box.h"
#include "winport/mfc_dialog.h"
#include "winport/script/script_ui.h"

namespace {

using winport::ControlClass;

class Form : public CDialog {
 public:
  Form() : CDialog(Template()) {
    OnCommandId(30, [this] {
      UpdateData(TRUE);
      if (MessageBoxA("sure?", "c", MB_YESNO) == IDYES) EndDialog(30);
    });
  }
  std::string text;

 protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 11, text); }

 private:
  static winport::DialogTemplate Template() {
    winport::DialogTemplate t;
    t.controls = {{11, ControlClass::Edit, WS_TABSTOP, "", {}},
                  {30, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP, "&Go", {}},
                  {31, ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, "X", {}}};
    return t;
  }
};

struct Result {
  INT_PTR result;
  std::string text;
  std::string out;
  std::string err;
};

Result RunScript(const std::string& script) {
  std::FILE* in = fmemopen(const_cast<char*>(script.data()), script.size(), "r");
  char* outBuffer = nullptr;
  char* errBuffer = nullptr;
  std::size_t outSize = 0;
  std::size_t errSize = 0;
  std::FILE* out = open_memstream(&outBuffer, &outSize);
  std::FILE* err = open_memstream(&errBuffer, &errSize);
  winport::ScriptUiBackend backend(in, out, err, "test.script");
  winport::ScopedUiBackend scope(backend);
  Form form;
  Result result{form.DoModal(), "", "", ""};
  result.text = form.text;
  std::fclose(in);
  std::fclose(out);
  std::fclose(err);
  result.out.assign(outBuffer, outSize);
  result.err.assign(errBuffer, errSize);
  std::free(outBuffer);
  std::free(errBuffer);
  return result;
}

TEST(ScriptBackend, DrivesADialogToItsEnd) {
  Result run = RunScript(
      "# a comment\n\n"
      "type 11  a b \n"
      "click 11 4\n"
      "key shift+Home\n"
      "dblclick 11 3\n"
      "key Delete\n"
      "key alt+G\n"
      "answer no\n"
      "click 30\n"
      "y\n");
  EXPECT_EQ(run.result, 30);
  // The text after one separating blank, kept whole; the double-click on byte 3 then selects
  // "b" alone, whatever the click and Shift+Home selected, and Delete takes it away.
  EXPECT_EQ(run.text, " a  ");
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("[c] (no icon)\nsure?\n[y]es / [n]o > answer no\n"), std::string::npos);
}

TEST(ScriptBackend, ALineThatDoesNotFitEndsTheScriptWithItsLineNumber) {
  struct Case {
    const char* script;
    const char* report;
  } cases[] = {
      {"type 11 x\nanswer yes\nclick 30\n", "test.script:2:"},  // no box is waiting
      {"click 31\nclick 30\n", "test.script:1: the control is disabled"},
      {"key F13\n", "test.script:1: no such key"},
      {"click 11 x\n", "test.script:1: the caret is not a byte offset"},
      {"click 30\nsave C:\\x.xml\n", "test.script:2: a message box waits"},
  };
  for (const Case& c : cases) {
    Result run = RunScript(c.script);
    EXPECT_EQ(run.result, IDCANCEL) << c.script;  // then Esc, and every box answers No
    EXPECT_EQ(run.err.find(c.report), 0u) << run.err;
  }
}

TEST(ScriptBackend, KeyNamesWithModifiers) {
  struct Case {
    const char* name;
    UINT vk;
    bool shift, ctrl, alt;
  } cases[] = {{"Enter", VK_RETURN, false, false, false},
               {"shift+Tab", VK_TAB, true, false, false},
               {"ctrl+alt+x", 'X', false, true, true},
               {"F12", VK_F12, false, false, false},
               {"space", VK_SPACE, false, false, false}};
  for (const Case& c : cases) {
    std::optional<winport::UiEvent> key = winport::ParseKeyName(c.name);
    ASSERT_TRUE(key) << c.name;
    EXPECT_EQ(key->vk, c.vk);
    EXPECT_EQ(key->shift, c.shift);
    EXPECT_EQ(key->ctrl, c.ctrl);
    EXPECT_EQ(key->alt, c.alt);
  }
  EXPECT_FALSE(winport::ParseKeyName("shift+"));
  EXPECT_FALSE(winport::ParseKeyName("Enterprise"));
}

}  // namespace
