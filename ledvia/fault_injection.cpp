#include "ledvia/fault_injection.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "winport/fault_list.h"

namespace ledvia {
namespace {

// The code of a fault written "throw": the call raises an exception instead of returning.
constexpr int kThrowCode = -2147483647 - 1;

struct Fault {
  int code = 0;
  int after = 0;
};

struct FaultTable {
  std::mutex mutex;
  std::map<std::string, Fault, std::less<>> faults;
  bool environmentRead = false;
};

FaultTable& Table() {
  static FaultTable table;
  return table;
}

// Malformed items are reported on stderr and skipped: a typo in a test's environment should
// be visible, not silently make the test pass.
int ParseInto(FaultTable& table, const std::string& all) {
  auto code = [](const std::string& text, long* value) {
    if (text == "throw") {
      *value = kThrowCode;
      return true;
    }
    return winport::ParseFaultNumber(text, value) && *value != 0 && *value != kThrowCode;
  };
  int malformed = 0;
  for (const winport::FaultListItem& item :
       winport::ParseFaultList(all, "LEDVIA_FAIL", code, &malformed)) {
    table.faults[item.call] = Fault{static_cast<int>(item.code), item.after};
  }
  return malformed;
}

void ReadEnvironment(FaultTable& table) {
  table.environmentRead = true;
  const char* text = std::getenv("LEDVIA_FAIL");
  if (text != nullptr) ParseInto(table, text);
}

}  // namespace

void InjectFault(const std::string& call, int code, int after) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.environmentRead) ReadEnvironment(table);
  table.faults[call] = Fault{code, after < 0 ? 0 : after};
}

int LoadFaults(const std::string& text) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.environmentRead = true;
  table.faults.clear();
  return ParseInto(table, text);
}

void ClearFaults() {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.environmentRead = true;
  table.faults.clear();
}

int FaultFor(const char* call) {
  FaultTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.environmentRead) ReadEnvironment(table);
  if (table.faults.empty()) return 0;
  auto found = table.faults.find(std::string_view(call));
  if (found == table.faults.end()) return 0;
  if (found->second.after > 0) {
    --found->second.after;
    return 0;
  }
  if (found->second.code == kThrowCode) {
    throw std::runtime_error("injected exception in " + found->first);
  }
  return found->second.code;
}

}  // namespace ledvia
