#include "winport/message_box.h"
#include "winport/script/recording_ui.h"
#include "winport/script/script_ui.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct ConsoleRun {
  int answer;
  std::string shown;
};

// Runs one box through the console backend with `input` as the piped answers.
ConsoleRun RunConsole(const std::string& input, UINT style) {
  std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
  if (input.empty()) in = std::fopen("/dev/null", "r");
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  winport::ScriptUiBackend console(in, out, stderr, "answers");
  int answer = console.ShowMessageBox({nullptr, "\x8F\xC1\x94\xEF\x90\xC5", "Cap", style});
  std::fclose(out);
  std::fclose(in);
  ConsoleRun run{answer, std::string(buffer, size)};
  std::free(buffer);
  return run;
}

}  // namespace

TEST(ScriptMessageBox, ScriptedAnswersPickTheButtons) {
  EXPECT_EQ(RunConsole("y\n", MB_YESNO | MB_ICONEXCLAMATION).answer, IDYES);
  EXPECT_EQ(RunConsole("  N\n", MB_YESNO).answer, IDNO);
  EXPECT_EQ(RunConsole("o\n", MB_OK).answer, IDOK);
  EXPECT_EQ(RunConsole("c\n", MB_OKCANCEL).answer, IDCANCEL);
  // An answer that fits no button is the cautious one, never a Yes.
  EXPECT_EQ(RunConsole("o\n", MB_YESNO).answer, IDNO);
  EXPECT_EQ(RunConsole("yes please\n", MB_YESNO).answer, IDYES);
}

TEST(ScriptMessageBox, EndOfInputAnswersCautiously) {
  EXPECT_EQ(RunConsole("", MB_OK).answer, IDOK);
  EXPECT_EQ(RunConsole("", MB_YESNO).answer, IDNO);
  EXPECT_EQ(RunConsole("", MB_OKCANCEL).answer, IDCANCEL);
}

TEST(ScriptMessageBox, ShowsTextAsUtf8WithCaptionAndIcon) {
  ConsoleRun run = RunConsole("o\n", MB_OK | MB_ICONINFORMATION);
  EXPECT_NE(run.shown.find("[Cap] (information)"), std::string::npos) << run.shown;
  EXPECT_NE(run.shown.find(reinterpret_cast<const char*>(u8"消費税")), std::string::npos);
}

TEST(RecordingMessageBox, RecordsBoxesAndAnswersFromTheQueue) {
  winport::RecordingUiBackend recorder;
  winport::ScopedUiBackend scope(recorder);
  recorder.answers = {IDYES};
  EXPECT_EQ(MessageBoxA(HwndFromNumber(5), "q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "q2", "c", MB_YESNO), IDNO);  // queue empty: cautious
  ASSERT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(recorder.boxes[0].owner, HwndFromNumber(5));
  EXPECT_EQ(recorder.boxes[1].text, "q2");
}
