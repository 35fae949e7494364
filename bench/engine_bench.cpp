// What a whole journal-aggregation export costs as the journal grows, beside the floor any
// aggregation of the journal has to pay: one SQLite query that sums both sides of the same
// journal table by tax category and rate. Not a test.
//
//   engine_bench [--runs N] [--base DIR] [ENTRIES...]   default: 3 runs, 10000 100000 1000000
//
// For each size, two companies from ledvia-db generate, written once to the temporary folder:
// the corporation (stages 3 to 5) and the sole proprietor with six departments (stage 6). The
// export is the program's own run: tessaly under ledvia-host, as the accounting product starts
// it, with the script front end pressing Execute (nothing shown), the file written to the
// temporary folder. Its CPU time and peak resident memory are those of the host and the program
// together; the query runs in this process on a connection of its own. Each figure is the best
// of N runs, since on a shared machine the fastest run is the one other work disturbed least.
// The programs are those beside this one; --base DIR runs those of another build instead (an
// earlier version, for a before and after), with companies written by its own ledvia-db.
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ledvia/schema.h"

extern char** environ;

namespace {

struct Cost {
  double wall = 0;    // milliseconds
  double cpu = 0;     // milliseconds, user and system
  double peakMb = 0;  // MiB, the export only
};

double Milliseconds(const timespec& from, const timespec& to) {
  return static_cast<double>(to.tv_sec - from.tv_sec) * 1e3 +
         static_cast<double>(to.tv_nsec - from.tv_nsec) / 1e6;
}

double Milliseconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

std::filesystem::path Temp(const std::string& name) {
  return std::filesystem::temp_directory_path() / name;
}

// Runs `argv` with standard output thrown away; its wait status, and its resource use in
// `*usage` when given.
int Run(std::vector<std::string> args, rusage* usage) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(1);
  }
  int status = 0;
  rusage ignored{};
  wait4(child, &status, 0, usage != nullptr ? usage : &ignored);
  return status;
}

// The generated company of `kind` ("corp" or "sole") and `entries`, written when it is not there
// yet by the ledvia-db in `bin` (which puts a file in place only when it is complete). Written
// in a process of its own: a child started from this one inherits its peak memory, which a
// million entries generated here would make the export's. The name carries the schema's version
// (or "base" for another build), so that a company of another schema is not taken for this one.
std::string CompanyFile(const std::string& kind, long long entries, const std::string& bin,
                        bool base) {
  std::string path =
      Temp("engine-bench-" +
           (base ? std::string("base") : "s" + std::to_string(ledvia::kSchemaVersion)) + "-" +
           kind + "-" + std::to_string(entries) + ".db");
  if (std::filesystem::exists(path)) return path;
  std::vector<std::string> args = {bin + "/ledvia-db", "generate", "--entries",
                                   std::to_string(entries)};
  if (kind == "sole") {
    args.insert(args.end(), {"--sole-proprietor", "--departments", "6"});
  }
  args.push_back(path);
  int status = Run(args, nullptr);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return path;
  std::fprintf(stderr, "cannot write %s: ledvia-db generate failed\n", path.c_str());
  std::exit(1);
}

// One export of `company` by the program in `bin`, through ledvia-host; exits when it does not
// post result 0.
Cost Export(const std::string& bin, const std::string& company) {
  static const std::string script = [] {
    std::string path = Temp("engine-bench-execute.txt").string();
    std::ofstream(path) << "key F12\n";
    return path;
  }();
  // Without remembered settings, so that each company gets the months its own dialog proposes
  // (the generated companies share their data id).
  std::filesystem::remove_all(Temp("engine-bench-home"));
  std::filesystem::create_directories(Temp("engine-bench-home"));
  setenv("LEDVIA_DATA", company.c_str(), 1);
  setenv("LEDVIA_USER", "user1", 1);
  setenv("LEDVIA_HOME", Temp("engine-bench-home").c_str(), 1);
  setenv("WINPORT_UI", ("script:" + script).c_str(), 1);
  std::string output = "Z:" + Temp("engine-bench-out.xml").string();
  std::replace(output.begin(), output.end(), '/', '\\');
  timespec start{};
  timespec end{};
  rusage usage{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  int status = Run({bin + "/ledvia-host", "--output", output, "--", bin + "/tessaly"}, &usage);
  clock_gettime(CLOCK_MONOTONIC, &end);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the export of %s posted no result 0 (status %d)\n", company.c_str(),
                 status);
    std::exit(1);
  }
  // wait4 counts the host with the program it waited for: the CPU of both, the larger peak.
  return {Milliseconds(start, end), Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime),
          static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// Both sides of the journal summed by tax category and rate, on a connection of its own.
Cost Query(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT category, rate, SUM(amount), SUM(tax) FROM ("
                     "SELECT debit_category AS category, rate, debit_amount AS amount, debit_tax "
                     "AS tax FROM journal WHERE data_no = 1 UNION ALL SELECT credit_category, "
                     "rate, credit_amount, credit_tax FROM journal WHERE data_no = 1) "
                     "GROUP BY category, rate",
                     -1, &stmt, nullptr);
  long long check = 0;
  timespec start{};
  timespec cpuStart{};
  timespec end{};
  timespec cpuEnd{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
  while (sqlite3_step(stmt) == SQLITE_ROW) check += sqlite3_column_int64(stmt, 2);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
  clock_gettime(CLOCK_MONOTONIC, &end);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (check == 42) std::puts("");  // keeps the sums from being optimised away
  return {Milliseconds(start, end), Milliseconds(cpuStart, cpuEnd), 0};
}

template <typename Measure>
Cost Best(int runs, Measure measure) {
  Cost best = measure();
  for (int i = 1; i < runs; ++i) {
    Cost cost = measure();
    if (cost.wall < best.wall) best = cost;
  }
  return best;
}

void PrintMachine(const char* when) {
  std::ifstream load("/proc/loadavg");
  std::string one, five, fifteen;
  load >> one >> five >> fifteen;
  std::printf("load average %s: %s %s %s\n", when, one.c_str(), five.c_str(), fifteen.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  std::string base;
  std::vector<long long> sizes;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--base") == 0 && i + 1 < argc) {
      base = std::filesystem::absolute(argv[++i]).string();
    } else if (argv[i][0] != '\0' && std::strspn(argv[i], "0123456789") == std::strlen(argv[i])) {
      sizes.push_back(std::atoll(argv[i]));
    } else {
      // --help, or anything that is no number of entries, gets the usage instead of a run.
      bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
      std::fputs("usage: engine_bench [--runs N] [--base DIR] [ENTRIES...]\n",
                 help ? stdout : stderr);
      return help ? 0 : 2;
    }
  }
  if (sizes.empty()) sizes = {10000, 100000, 1000000};
  std::string bin =
      !base.empty() ? base : std::filesystem::canonical("/proc/self/exe").parent_path().string();
  std::string cpu = "unknown processor";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  std::printf("%s, %ld cores online; best of %d runs of %s\n", cpu.c_str(),
              sysconf(_SC_NPROCESSORS_ONLN), runs, bin.c_str());
  PrintMachine("at the start");
  std::printf("%-10s %-6s %10s %10s %10s %10s %8s %10s\n", "entries", "kind", "export ms", "cpu ms",
              "query ms", "cpu ms", "ratio", "peak MiB");
  std::map<std::string, std::vector<Cost>> exports;
  for (long long entries : sizes) {
    for (const char* kind : {"corp", "sole"}) {
      std::string company = CompanyFile(kind, entries, bin, !base.empty());
      Cost exported = Best(runs, [&] { return Export(bin, company); });
      Cost query = Best(runs, [&] { return Query(company); });
      exports[kind].push_back(exported);
      std::printf("%-10lld %-6s %10.1f %10.1f %10.1f %10.1f %8.2f %10.1f\n", entries, kind,
                  exported.wall, exported.cpu, query.wall, query.cpu, exported.wall / query.wall,
                  exported.peakMb);
      std::fflush(stdout);
    }
  }
  if (sizes.size() > 1) {
    for (const auto& [kind, costs] : exports) {
      std::printf("%s: export at %lld entries / at %lld: wall %.2f, cpu %.2f, peak %.2f\n",
                  kind.c_str(), sizes.back(), sizes.front(), costs.back().wall / costs.front().wall,
                  costs.back().cpu / costs.front().cpu, costs.back().peakMb / costs.front().peakMb);
    }
  }
  PrintMachine("at the end");
  return 0;
}
