#include "winport/fault_injection.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "winport/fault_list.h"

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

// WINPORT_FAIL="Call=error[@after],...": faults for a whole program run, so that end-to-end
// tests reach the failure paths of a started program.
void ReadEnvironment(FaultTable& table) {
  const char* text = std::getenv("WINPORT_FAIL");
  if (text == nullptr) return;
  auto error = [](const std::string& code, long* value) {
    return ParseFaultNumber(code, value) && *value > 0;
  };
  for (const FaultListItem& item : ParseFaultList(text, "WINPORT_FAIL", error)) {
    table.faults[item.call] = Fault{static_cast<DWORD>(item.code), item.after};
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
