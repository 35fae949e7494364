// What the progress window costs on the desktop: the journal aggregation of a generated
// company run as the export run drives it (window shown, wait cursor, the four Advance calls
// around engine stages 3 to 6, Finish), once with a backend that shows nothing and once with
// the desktop front end; the difference is the cost of drawing. Not a test: run it on a
// display, e.g. under Xvfb:
//
//   xvfb-run -a build/bin/progress_bench [ENTRIES]        default: 1000000
//
// The company is the benchmark corporation of ledvia-db generate, written once to the
// temporary folder (shared with engine_bench). Each backend runs twice; the faster run counts.
// A second part is a synthetic engine that steps the lower bar on every record at the pace
// the first part measured, the most the real one could ask: there the window draws about 30
// times a second, and the cost of one draw shows.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "accounting/ClDataMgr.h"
#include "accounting/ClSetData.h"
#include "accounting/ClSetShohizei.h"
#include "aggregate/month_find.h"
#include "ledvia/company_database.h"
#include "ledvia/sample_database.h"
#include "ui/progress_dialog.h"
#include "winport/desktop/desktop_ui.h"
#include "winport/mfc.h"

namespace {

// Shows nothing: what the run costs without any drawing.
class HiddenUi : public winport::UiBackend {
 public:
  int ShowMessageBox(const winport::MessageBoxRequest&) override { return 1; }
  winport::UiEvent NextDialogEvent(const winport::DialogWindow&) override {
    return winport::UiEvent::Close();
  }
  std::optional<std::string> AskSaveFileName(const winport::SaveFileRequest&) override {
    return std::nullopt;
  }
};

// <chrono> cannot be compiled with code page 932 literals.
double Ms(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

std::string Company(long long entries) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("engine-bench-corp-" + std::to_string(entries) + ".db"))
                         .string();
  if (!std::filesystem::exists(path)) {
    std::string error;
    std::string partial = path + ".part";
    if (ledvia::WriteGeneratedCompany(partial, entries, &error) != 0) {
      std::fprintf(stderr, "cannot write %s: %s\n", partial.c_str(), error.c_str());
      std::exit(1);
    }
    std::filesystem::rename(partial, path);
  }
  return path;
}

// The journal aggregation with its progress window, as the export run drives it.
void Aggregate(const StDATAINFO& data, const StSHOHIZEIINFO& settings) {
  ProgressDialog progress;
  progress.Create();
  AggregationEngine& engine = progress.engine();
  engine.monthFind() = MonthFind::Build(1, 12, false, true);
  engine.SetTaxationKind(settings.taxationKind);
  TaxTotals totals;
  totals.Allocate(kRateSlotCount);
  progress.ShowWindow(SW_SHOW);
  CWaitCursor wait;
  progress.ResetOverall();
  progress.Advance(0, 250);
  engine.SumTaxByRate(totals);
  progress.Advance(250, 500);
  engine.SumSpecialAccounts(totals, settings);
  progress.Advance(500, 750);
  engine.SumCorporateStatement(totals, data, settings);
  engine.SumSoleProprietorStatement(totals, data, settings);
  progress.Advance(750, 1000);
  progress.Finish();
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
    progress.StepActivity();
  }
  progress.Finish();
}

}  // namespace

int main(int argc, char** argv) {
  const long long entries = argc > 1 ? std::atoll(argv[1]) : 1000000;
  const std::string path = Company(entries);
  if (ledvia::OpenCompanyDatabase(path) != 0) return 1;
  StDATAINFO data;
  StSHOHIZEIINFO settings;
  std::memset(&data, 0, sizeof data);
  std::memset(&settings, 0, sizeof settings);
  static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&data);
  static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1))->Get(&settings);

  HiddenUi hidden;
  winport::DesktopUiBackend desktop;
  // What one run with each backend took (elapsed and processor time) and, on the desktop,
  // the draws it made. On a shared machine the processor times are the steadier measure.
  struct Run {
    double ms = 1e300;
    double cpuMs = 0;
    winport::DesktopUiBackend::DrawCount drawn;
  };
  auto measure = [&](Run& best, winport::UiBackend& ui, const std::function<void()>& work) {
    winport::ScopedUiBackend scope(ui);
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
  };

  Run bare;
  Run shown;
  for (int round = 0; round < 2; ++round) {
    measure(bare, hidden, [&] { Aggregate(data, settings); });
    measure(shown, desktop, [&] { Aggregate(data, settings); });
  }
  ledvia::CloseCompanyDatabase();
  report("journal aggregation of " + std::to_string(entries) + " entries with its progress window",
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
  return 0;
}
