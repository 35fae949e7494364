// ledvia-db: writes and lists company databases (usage below, or ledvia-db --help).
// Every failure prints one line on stderr and exits non-zero. Writing never touches what is at
// PATH unless it is a company database, and replaces it only when the new one is complete.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ledvia/csv_export.h"
#include "ledvia/csv_import.h"
#include "ledvia/data_list.h"
#include "ledvia/generated_company.h"
#include "ledvia/sample_database.h"
#include "winport/encoding.h"

namespace {

constexpr const char* kUsage =
    "usage: ledvia-db sample PATH\n"
    "       ledvia-db generate --entries N [--sole-proprietor] [--departments D]\n"
    "                          [--tax-inclusive] PATH\n"
    "       ledvia-db list PATH\n"
    "       ledvia-db import FOLDER PATH\n"
    "       ledvia-db export PATH FOLDER\n"
    "\n"
    "sample    write the bundled sample company database to PATH\n"
    "generate  write one company data (user1) of N journal entries (0 to 100,000,000) with\n"
    "          every rate and tax category, about 200 accounts, assets and closing\n"
    "          adjustments: a corporation, or a sole proprietor; D departments (0 to 999)\n"
    "list      print a header, then each company data of PATH: number, name, period,\n"
    "          taxation, entity, kind and the users (LEDVIA_USER) whose selection opens it\n"
    "import    build PATH from the CSV files of FOLDER (company.csv, users.csv, accounts.csv,\n"
    "          departments.csv, journal.csv, assets.csv, saved_figures.csv; UTF-8 or\n"
    "          Shift_JIS); every bad line is listed as FILE:LINE:COLUMN: reason, and then\n"
    "          nothing is written\n"
    "export    write all of PATH as those CSV files (UTF-8) into FOLDER, a new or empty folder\n"
    "\n"
    "PATH is replaced only when it is a company database; a new database is written beside it\n"
    "and renamed onto it when complete.\n";

int Usage() {
  std::fputs(
      "usage: ledvia-db sample PATH | generate --entries N [OPTIONS] PATH | list PATH | import"
      " FOLDER PATH | export PATH FOLDER (--help)\n",
      stderr);
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "ledvia-db: %s\n", message.c_str());
  return 1;
}

// Only plain decimal digits: "12x", "-5", "" and overflowing numbers are refused.
bool ParseCount(const std::string& text, long long* value) {
  if (text.empty() || text.size() > 12) return false;
  long long parsed = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    parsed = parsed * 10 + (c - '0');
  }
  *value = parsed;
  return true;
}

const char* TaxationName(int kind) {
  switch (kind) {
    case 0:
      return "exempt";
    case 1:
      return "simplified";
    case 2:
      return "general";
    default:
      return "unknown";
  }
}

std::string EntityName(int kind) {
  if (kind == 0 || kind == 1) return "corporation";
  if (kind == 3 || kind == 4) return "sole-proprietor";
  return "entity-" + std::to_string(kind);
}

std::string DataKindName(int kind) {
  if (kind == 0) return "normal";
  if (kind == 99) return "past-results";
  return "kind-" + std::to_string(kind);
}

int List(const std::string& path) {
  std::vector<ledvia::DataListRow> rows;
  std::string error;
  if (ledvia::ReadDataList(path, &rows, &error) != 0) return Fail(error);
  std::printf("data\tcompany\tperiod\ttaxation\tentity\tkind\tusers (LEDVIA_USER)\n");
  for (const ledvia::DataListRow& row : rows) {
    // Names are stored in code page 932; the terminal reads UTF-8.
    std::string name = winport::Cp932ToUtf8(row.companyName);
    std::printf("%d\t%s\t%08d-%08d\t%s\t%s\t%s%s\t%s\n", row.dataNo, name.c_str(), row.periodStart,
                row.periodEnd, TaxationName(row.taxationKind), EntityName(row.entityKind).c_str(),
                DataKindName(row.dataKind).c_str(), row.interimClosing == 1 ? ",interim" : "",
                row.users.c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the list");
}

// generate's arguments: --entries N, the options, and PATH last.
int Generate(const std::vector<std::string>& args) {
  ledvia::GeneratedCompanyShape shape;
  bool entriesGiven = false;
  std::size_t i = 1;
  for (; i + 1 < args.size(); ++i) {
    const std::string& option = args[i];
    long long value = 0;
    if (option == "--sole-proprietor") {
      shape.soleProprietor = true;
    } else if (option == "--tax-inclusive") {
      shape.taxInclusive = true;
    } else if ((option == "--entries" || option == "--departments") && i + 2 < args.size()) {
      const std::string& text = args[++i];
      long long limit =
          option == "--entries" ? ledvia::kMaxGeneratedEntries : ledvia::kMaxGeneratedDepartments;
      if (!ParseCount(text, &value) || value > limit) {
        return Fail(option + " needs a whole number from 0 to " + std::to_string(limit) +
                    ", not '" + text + "'");
      }
      if (option == "--entries") {
        shape.entries = value;
        entriesGiven = true;
      } else {
        shape.departments = static_cast<int>(value);
      }
    } else {
      return Usage();
    }
  }
  // An option where PATH should be is a mistake, not a file name.
  if (!entriesGiven || i + 1 != args.size() || args[i].rfind("--", 0) == 0) return Usage();
  std::string error;
  if (ledvia::WriteGeneratedCompany(args[i], shape, &error) != 0) return Fail(error);
  return 0;
}

int Import(const std::string& folder, const std::string& path) {
  ledvia::ImportResult result;
  int code = ledvia::ImportCompanyCsv(folder, path, &result);
  for (const std::string& problem : result.problems) std::fprintf(stderr, "%s\n", problem.c_str());
  if (code != 0) {
    std::fprintf(stderr, "ledvia-db: nothing written to %s\n", path.c_str());
    return 1;
  }
  std::printf("imported %d company data and %lld journal entries into %s\n", result.data,
              static_cast<long long>(result.entries), path.c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::string error;
  if (command == "sample" && args.size() == 2) {
    if (ledvia::WriteSampleDatabase(args[1], &error) != 0) return Fail(error);
    return 0;
  }
  if (command == "generate" && args.size() >= 4) return Generate(args);
  if (command == "list" && args.size() == 2) return List(args[1]);
  if (command == "import" && args.size() == 3) return Import(args[1], args[2]);
  if (command == "export" && args.size() == 3) {
    if (ledvia::ExportCompanyCsv(args[1], args[2], &error) != 0) return Fail(error);
    return 0;
  }
  return Usage();
}
