#include "winport/fault_injection.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace winport {
namespace {

struct Fault {
  DWORD error = 0;
  int after = 0;
};

struct FaultTable {
  std::mutex mutex;
  std::map<std::string, Fault> faults;
  std::map<std::string, int> counts;
};

bool ParseNumber(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0';
}

// WINPORT_FAIL="Call=error[@after],...": faults for a whole program run, so that end-to-end
// tests reach the failure paths of a started program. A malformed item is reported and skipped.
void ReadEnvironment(FaultTable& table) {
  const char* text = std::getenv("WINPORT_FAIL");
  if (text == nullptr) return;
  std::string all = text;
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t comma = all.find(',', pos);
    if (comma == std::string::npos) comma = all.size();
    std::string item = all.substr(pos, comma - pos);
    pos = comma + 1;
    std::size_t equals = item.find('=');
    std::size_t at = equals == std::string::npos ? equals : item.find('@', equals);
    long error = 0;
    long after = 0;
    bool ok = equals != std::string::npos && equals > 0 &&
              ParseNumber(item.substr(equals + 1, at == std::string::npos ? std::string::npos
                                                                          : at - equals - 1),
                          &error) &&
              error > 0 && (at == std::string::npos || ParseNumber(item.substr(at + 1), &after)) &&
              after >= 0;
    if (!ok) {
      if (!item.empty())
        std::fprintf(stderr, "WINPORT_FAIL: ignored malformed item '%s'\n", item.c_str());
      continue;
    }
    table.faults[item.substr(0, equals)] =
        Fault{static_cast<DWORD>(error), static_cast<int>(after)};
  }
}

FaultTable& Table() {
  static FaultTable table;
  static const bool environmentRead = (ReadEnvironment(table), true);
  (void)environmentRead;
  return table;
}

}  // namespace

void InjectCallFault(const char* call, DWORD error, int after) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.faults[call] = Fault{error, after};
}

void ClearCallFaults() {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.faults.clear();
  table.counts.clear();
}

DWORD CallFaultFor(const char* call) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  ++table.counts[call];
  auto found = table.faults.find(call);
  if (found == table.faults.end()) return 0;
  if (found->second.after > 0) {
    --found->second.after;
    return 0;
  }
  return found->second.error;
}

int CallCount(const char* call) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto found = table.counts.find(call);
  return found == table.counts.end() ? 0 : found->second;
}

}  // namespace winport
