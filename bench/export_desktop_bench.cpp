// What the progress window costs on the desktop: the whole export of a generated company, as
// the program runs it without a handshake (conditions dialog, the journal aggregation under
// the progress window, the linkage file, the completion message), once with a backend that
// shows nothing and once with the desktop front end, its dialog answered through QTest.
// Drawing is timed inside the front end, in elapsed and in processor time. The difference of
// the two runs, for the whole run and for the part the progress window is shown in, is all the
// front end costs (drawing, the notices, Qt); it also moves by a few per cent from run to run
// with where the engine's objects land in memory, so each backend runs five times. Not a test:
// run it // on a display, e.g. under Xvfb:
//
//   xvfb-run -a build/bin/export_desktop_bench [ENTRIES]        default: 1000000
//
// The company is the benchmark corporation of ledvia-db generate, written once to the
// temporary folder (shared with engine_bench). Each backend runs five times, in turn; the fastest
// run counts. A second part is a synthetic engine that steps the lower bar on every record at the
// pace the export measured, the most the real engine could ask: there the window draws about 30
// times a second, and the cost of one draw shows. A third gives each notice's bookkeeping.
#include <stdlib.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "app/ExportApp.h"
#include "ledvia/generated_company.h"
#include "tests/support/desktop/desktop_driver.h"
#include "ui/progress_dialog.h"
#include "winport/desktop/desktop_ui.h"
#include "winport/drive_map.h"
#include "winport/message_box.h"

namespace {

// <chrono> cannot be compiled with code page 932 literals.
double Ms(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The part of a run the progress window is shown in: from the Execute key to the completion
// message. The rest (the dialog, the box, the windows made and mapped) costs the same however
// many entries are exported.
struct Phase {
  const winport::DesktopUiBackend* desktop = nullptr;  // whose draws count; none: nothing shown
  double startMs = 0, startCpuMs = 0, endMs = 0, endCpuMs = 0;
  winport::DesktopUiBackend::DrawCount startDrawn, endDrawn;
  void Start() {
    startMs = Ms(CLOCK_MONOTONIC);
    startCpuMs = Ms(CLOCK_PROCESS_CPUTIME_ID);
    if (desktop != nullptr) startDrawn = desktop->Drawing();
  }
  // At every message box: the last one, the completion message, ends the phase.
  void End() {
    endMs = Ms(CLOCK_MONOTONIC);
    endCpuMs = Ms(CLOCK_PROCESS_CPUTIME_ID);
    if (desktop != nullptr) endDrawn = desktop->Drawing();
  }
};
Phase phase;

// Shows nothing and gives the dialog its inputs from a list (then Esc); boxes get their
// cautious answers.
class HiddenUi : public winport::UiBackend {
 public:
  int ShowMessageBox(const winport::MessageBoxRequest& request) override {
    phase.End();
    return winport::CautiousAnswer(request.style);
  }
  winport::UiEvent NextDialogEvent(const winport::DialogWindow&) override {
    if (next_ >= events.size()) return winport::UiEvent::Key(VK_ESCAPE);
    if (next_ + 1 == events.size()) phase.Start();
    return events[next_++];
  }
  std::optional<std::string> AskSaveFileName(const winport::SaveFileRequest&) override {
    return std::nullopt;
  }
  void Start(std::vector<winport::UiEvent> inputs) {
    events = std::move(inputs);
    next_ = 0;
  }

 private:
  std::vector<winport::UiEvent> events;
  std::size_t next_ = 0;
};

// The generated corporation in the temporary folder, written when it is not there yet (the
// writer puts the file in place only when it is complete); engine_bench uses the same file.
std::string Company(long long entries) {
  ledvia::GeneratedCompanyShape shape;
  shape.entries = entries;
  std::string path = (std::filesystem::temp_directory_path() /
                      ("engine-bench-g2-corp-" + std::to_string(entries) + ".db"))
                         .string();
  std::string error;
  if (!std::filesystem::exists(path) && ledvia::WriteGeneratedCompany(path, shape, &error) != 0) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
    std::exit(1);
  }
  return path;
}

// The program's whole run, without a handshake, into a file that does not exist yet.
bool Export(const std::string& outputPath) {
  std::filesystem::remove(outputPath);
  ExportApp app(*EditionNamed("tessaly"));
  BOOL done = app.InitInstance();
  app.ExitInstance();
  return done && app.resultCode == kResultDone && std::filesystem::exists(outputPath);
}

// One activity step a record, each record taking `recordUs` microseconds of other work: the
// engine's pace if it stepped the bar on every record.
void StepAtEnginePace(long long records, double recordUs) {
  ProgressDialog progress;
  progress.Create();
  progress.ShowWindow(SW_SHOW);
  progress.ResetOverall();
  progress.ResetActivity();
  timespec now{};
  for (long long i = 0; i < records; ++i) {
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double until = static_cast<double>(now.tv_sec) * 1e6 + now.tv_nsec / 1e3 + recordUs;
    do {
      clock_gettime(CLOCK_MONOTONIC, &now);
    } while (static_cast<double>(now.tv_sec) * 1e6 + now.tv_nsec / 1e3 < until);
    progress.StepActivity(1);
  }
  progress.Finish();
}

}  // namespace

int main(int argc, char** argv) {
  const long long entries = argc > 1 ? std::atoll(argv[1]) : 1000000;
  // On the display, not the offscreen platform the test driver picks when none is named.
  if (getenv("DISPLAY") != nullptr) setenv("QT_QPA_PLATFORM", "xcb", 1);
  char folder[] = "/tmp/export-desktop-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::string home = folder;
  const std::string output = home + "/out.xml";
  setenv("LEDVIA_DATA", Company(entries).c_str(), 1);
  setenv("LEDVIA_USER", "user1", 1);
  setenv("LEDVIA_HOME", home.c_str(), 1);

  HiddenUi hidden;
  winport::DesktopUiBackend desktop;
  // The dialog takes the output path as a Windows path; then F12.
  const std::string windowsOutput = winport::CurrentDriveMap().ToWindows(output).value_or("");
  desktop.onWait = [&](const winport::DialogWindow& dialog) {
    static bool typed = false;
    if (!typed) {
      winport::desktop::Perform(dialog, winport::UiEvent::Type(1008, windowsOutput));
    } else {
      phase.Start();
      winport::desktop::Perform(dialog, winport::UiEvent::Key(VK_F12));
    }
    typed = !typed;
  };
  desktop.onMessageBox = [](const winport::MessageBoxRequest& box) {
    phase.End();
    winport::desktop::AnswerMessageBox(winport::CautiousAnswer(box.style));
  };
  auto hiddenExport = [&] {
    hidden.Start({winport::UiEvent::Type(1008, windowsOutput), winport::UiEvent::Key(VK_F12)});
    if (!Export(output)) std::fprintf(stderr, "the export without a desktop failed\n");
  };
  auto desktopExport = [&] {
    if (!Export(output)) std::fprintf(stderr, "the export on the desktop failed\n");
  };

  // What one run with each backend took (elapsed and processor time) and, on the desktop,
  // the draws it made. On a shared machine the processor times are the steadier measure.
  struct Run {
    double ms = 1e300;
    double cpuMs = 0;
    winport::DesktopUiBackend::DrawCount drawn;
    double phaseMs = 0;  // from the Execute key to the completion message
    double phaseCpuMs = 0;
    winport::DesktopUiBackend::DrawCount phaseDrawn;
  };
  auto measure = [&](Run& best, winport::UiBackend& ui, const std::function<void()>& work) {
    winport::ScopedUiBackend scope(ui);
    phase = Phase{};
    phase.desktop = &ui == &desktop ? &desktop : nullptr;
    winport::DesktopUiBackend::DrawCount before = desktop.Drawing();
    const double start = Ms(CLOCK_MONOTONIC);
    const double startCpu = Ms(CLOCK_PROCESS_CPUTIME_ID);
    work();
    const double ms = Ms(CLOCK_MONOTONIC) - start;
    if (ms >= best.ms) return;
    best.ms = ms;
    best.cpuMs = Ms(CLOCK_PROCESS_CPUTIME_ID) - startCpu;
    winport::DesktopUiBackend::DrawCount after = desktop.Drawing();
    best.drawn.draws = after.draws - before.draws;
    best.drawn.milliseconds = after.milliseconds - before.milliseconds;
    best.drawn.cpuMilliseconds = after.cpuMilliseconds - before.cpuMilliseconds;
    best.phaseMs = phase.endMs - phase.startMs;
    best.phaseCpuMs = phase.endCpuMs - phase.startCpuMs;
    best.phaseDrawn.draws = phase.endDrawn.draws - phase.startDrawn.draws;
    best.phaseDrawn.milliseconds = phase.endDrawn.milliseconds - phase.startDrawn.milliseconds;
    best.phaseDrawn.cpuMilliseconds =
        phase.endDrawn.cpuMilliseconds - phase.startDrawn.cpuMilliseconds;
  };
  auto report = [](const std::string& title, const Run& bare, const Run& shown) {
    const double draws = static_cast<double>(std::max(1LL, shown.drawn.draws));
    std::printf("%s\n", title.c_str());
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor\n", "nothing shown", bare.ms,
                bare.cpuMs);
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor  (%lld draws, %.1f a second)\n",
                "desktop", shown.ms, shown.cpuMs, shown.drawn.draws, draws * 1000.0 / shown.ms);
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor  (%.2f ms a draw)\n", "drawing",
                shown.drawn.milliseconds, shown.drawn.cpuMilliseconds,
                shown.drawn.milliseconds / draws);
    std::printf("  %-20s %9.2f %% elapsed %9.2f %% processor  (target: under 5 %%)\n",
                "share of the run", 100.0 * shown.drawn.milliseconds / shown.ms,
                100.0 * shown.drawn.cpuMilliseconds / shown.cpuMs);
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor  (drawing and bookkeeping)\n",
                "runs' difference", shown.ms - bare.ms, shown.cpuMs - bare.cpuMs);
    if (shown.phaseMs <= 0) return;  // no Execute key in this run
    std::printf("  from the Execute key to the completion message (the progress window shown):\n");
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor\n", "nothing shown", bare.phaseMs,
                bare.phaseCpuMs);
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor  (%lld draws)\n", "desktop",
                shown.phaseMs, shown.phaseCpuMs, shown.phaseDrawn.draws);
    std::printf("  %-20s %9.2f %% elapsed %9.2f %% processor  (drawing: %.2f %% / %.2f %%)\n",
                "difference", 100.0 * (shown.phaseMs - bare.phaseMs) / bare.phaseMs,
                100.0 * (shown.phaseCpuMs - bare.phaseCpuMs) / bare.phaseCpuMs,
                100.0 * shown.phaseDrawn.milliseconds / shown.phaseMs,
                100.0 * shown.phaseDrawn.cpuMilliseconds / shown.phaseCpuMs);
    std::printf("  %-20s %10.1f ms elapsed %10.1f ms processor  (dialog, box, windows)\n",
                "outside it", (shown.ms - shown.phaseMs) - (bare.ms - bare.phaseMs),
                (shown.cpuMs - shown.phaseCpuMs) - (bare.cpuMs - bare.phaseCpuMs));
  };

  Run bare;
  Run shown;
  for (int round = 0; round < 5; ++round) {
    measure(bare, hidden, hiddenExport);
    measure(shown, desktop, desktopExport);
  }
  report("the export of " + std::to_string(entries) + " journal entries (journal aggregation)",
         bare, shown);

  // The worst case: an engine that steps the bar on every record, at the pace measured above.
  const double recordUs = bare.ms * 1000.0 / static_cast<double>(entries);
  const long long records = static_cast<long long>(5e6 / recordUs);  // about 5 seconds
  Run bareSteps;
  Run shownSteps;
  measure(bareSteps, hidden, [&] { StepAtEnginePace(records, recordUs); });
  measure(shownSteps, desktop, [&] { StepAtEnginePace(records, recordUs); });
  report("a synthetic engine: one activity step every " + std::to_string(recordUs) + " us, " +
             std::to_string(records) + " steps",
         bareSteps, shownSteps);

  // What the front end's bookkeeping costs each notice, drawing aside.
  const long long notices = 10000000;
  Run bareNotices;
  Run shownNotices;
  auto notify = [&] {
    ProgressDialog progress;
    progress.Create();
    progress.ShowWindow(SW_SHOW);
    for (long long i = 0; i < notices; ++i) progress.UpdateWindow();
    progress.Finish();
  };
  measure(bareNotices, hidden, notify);
  measure(shownNotices, desktop, notify);
  std::printf("%lld repaint requests: %.1f ns each with nothing shown, %.1f ns on the desktop\n",
              notices, bareNotices.cpuMs * 1e6 / static_cast<double>(notices),
              (shownNotices.cpuMs - shownNotices.drawn.cpuMilliseconds) * 1e6 /
                  static_cast<double>(notices));
  std::filesystem::remove_all(home);
  return 0;
}
