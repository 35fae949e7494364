#include "winport/fault_injection.h"

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

FaultTable& Table() {
  static FaultTable table;
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
