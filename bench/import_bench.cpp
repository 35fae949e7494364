// What `ledvia-db import` costs beside the floor of reading the same journal CSV into SQLite:
// the sqlite3 shell's `.import` of journal.csv into a plain table of a new database file (and,
// for comparison, of an in-memory database).
// Not a test.
//
//   import_bench [--runs N] [ENTRIES]   default: 3 runs, 1000000 entries
//
// The CSV set is the export (ledvia-db export) of a company from ledvia-db generate, written
// once to the temporary folder. Each figure is the best of N runs (wall clock), since on a
// shared machine the fastest run is the one other work disturbed least; the peak resident
// memory is that of the import.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs `args` with standard output thrown away; exits when it fails. Wall milliseconds, and
// the peak resident memory in MiB in `*peakMb`.
double Run(std::vector<std::string> args, double* peakMb = nullptr) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  timespec from{}, to{};
  clock_gettime(CLOCK_MONOTONIC, &from);
  pid_t child = 0;
  int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (error != 0 || wait4(child, &status, 0, &usage) < 0 || status != 0) {
    std::fprintf(stderr, "import_bench: %s failed\n", argv[0]);
    std::exit(1);
  }
  clock_gettime(CLOCK_MONOTONIC, &to);
  if (peakMb != nullptr) *peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return static_cast<double>(to.tv_sec - from.tv_sec) * 1e3 +
         static_cast<double>(to.tv_nsec - from.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  long long entries = 1000000;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--help" || arg == "-h" ||
               arg.find_first_not_of("0123456789") != std::string::npos) {
      std::puts("usage: import_bench [--runs N] [ENTRIES]");
      return arg[0] == '-' && arg != "--runs" ? 0 : 2;
    } else {
      entries = std::atoll(arg.c_str());
    }
  }
  const std::string tool =
      (std::filesystem::canonical("/proc/self/exe").parent_path() / "ledvia-db").string();
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("ql-import-bench-" + std::to_string(entries));
  const std::string csv = (base / "csv").string();
  if (!std::filesystem::exists(base / "csv" / "journal.csv")) {
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    std::string generated = (base / "generated.db").string();
    Run({tool, "generate", "--entries", std::to_string(entries), generated});
    Run({tool, "export", generated, csv});
  }
  // The floor is .import into a new database file, as the import writes one; into memory as
  // well, the lower bound of SQLite's own reading of the file.
  const std::string import = ".import --csv " + csv + "/journal.csv journal";
  double best = 1e300, bestFile = 1e300, bestMemory = 1e300, peak = 0;
  for (int run = 0; run < runs; ++run) {
    std::string target = (base / "imported.db").string();
    double peakMb = 0;
    best = std::min(best, Run({tool, "import", csv, target}, &peakMb));
    peak = std::max(peak, peakMb);
    std::filesystem::remove(target);
    std::string plain = (base / "plain.db").string();
    bestFile = std::min(bestFile, Run({"sqlite3", plain, import}));
    std::filesystem::remove(plain);
    bestMemory = std::min(bestMemory, Run({"sqlite3", ":memory:", import}));
  }
  std::printf(
      "entries %lld: ledvia-db import %.0f ms (peak %.1f MiB); sqlite3 .import into a file "
      "%.0f ms (ratio %.2f), into memory %.0f ms (ratio %.2f)\n",
      entries, best, peak, bestFile, best / bestFile, bestMemory, best / bestMemory);
  return 0;
}
