#include "ledvia/fault_injection.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

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

bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < -2147483647L - 1 || parsed > 2147483647L) return false;
  *value = static_cast<int>(parsed);
  return true;
}

// Malformed items are reported on stderr and skipped: a typo in a test's environment should
// be visible, not silently make the test pass.
int ParseInto(FaultTable& table, const std::string& all) {
  int malformed = 0;
  std::size_t pos = 0;
  while (pos <= all.size()) {
    std::size_t comma = all.find(',', pos);
    std::string item =
        all.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    pos = comma == std::string::npos ? all.size() + 1 : comma + 1;
    if (item.empty()) continue;
    std::size_t equals = item.find('=');
    std::size_t at = equals == std::string::npos ? std::string::npos : item.find('@', equals);
    Fault fault;
    bool ok = equals != std::string::npos && equals > 0;
    if (ok) {
      std::string code =
          item.substr(equals + 1, at == std::string::npos ? std::string::npos : at - equals - 1);
      if (code == "throw") {
        fault.code = kThrowCode;
      } else {
        ok = ParseInt(code, &fault.code) && fault.code != 0 && fault.code != kThrowCode;
      }
      if (ok && at != std::string::npos) ok = ParseInt(item.substr(at + 1), &fault.after);
    }
    if (!ok || fault.after < 0) {
      std::fprintf(stderr, "LEDVIA_FAIL: ignored malformed item '%s'\n", item.c_str());
      ++malformed;
      continue;
    }
    table.faults[item.substr(0, equals)] = fault;
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
