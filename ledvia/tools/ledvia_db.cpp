// ledvia-db: writes and lists company databases.
//   ledvia-db sample PATH                 the bundled sample
//   ledvia-db generate --entries N PATH   one company of N journal entries (benchmarks)
//   ledvia-db list PATH                   one line per company data
// Every failure prints one line on stderr and exits non-zero.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ledvia/data_list.h"
#include "ledvia/sample_database.h"
#include "winport/encoding.h"

namespace {

constexpr long long kMaxEntries = 100000000;

int Usage() {
  std::fprintf(stderr, "usage: ledvia-db sample PATH | generate --entries N PATH | list PATH\n");
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
  for (const ledvia::DataListRow& row : rows) {
    // Names are stored in code page 932; the terminal reads UTF-8.
    std::string name = winport::Cp932ToUtf8(row.companyName);
    std::printf("%d\t%s\t%08d-%08d\t%s\t%s\t%s%s\n", row.dataNo, name.c_str(), row.periodStart,
                row.periodEnd, TaxationName(row.taxationKind), EntityName(row.entityKind).c_str(),
                DataKindName(row.dataKind).c_str(), row.interimClosing == 1 ? ",interim" : "");
  }
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the list");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  std::string error;
  if (command == "sample" && args.size() == 2) {
    if (ledvia::WriteSampleDatabase(args[1], &error) != 0) return Fail(error);
    return 0;
  }
  if (command == "generate" && args.size() == 4 && args[1] == "--entries") {
    long long entries = 0;
    if (!ParseCount(args[2], &entries) || entries > kMaxEntries) {
      return Fail("--entries needs a whole number from 0 to " + std::to_string(kMaxEntries) +
                  ", not '" + args[2] + "'");
    }
    if (ledvia::WriteGeneratedCompany(args[3], entries, &error) != 0) return Fail(error);
    return 0;
  }
  if (command == "list" && args.size() == 2) return List(args[1]);
  return Usage();
}
