#include "winport/fault_list.h"

#include <cstdio>
#include <cstdlib>

namespace winport {

bool ParseFaultNumber(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < -2147483647L - 1 || parsed > 2147483647L) return false;
  *value = parsed;
  return true;
}

std::vector<FaultListItem> ParseFaultList(
    const std::string& text, const char* variable,
    const std::function<bool(const std::string&, long*)>& codeOf, int* malformed) {
  std::vector<FaultListItem> items;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string::npos) comma = text.size();
    std::string item = text.substr(pos, comma - pos);
    pos = comma + 1;
    if (item.empty()) continue;
    std::size_t equals = item.find('=');
    std::size_t at = equals == std::string::npos ? equals : item.find('@', equals);
    FaultListItem parsed;
    long after = 0;
    bool ok =
        equals != std::string::npos && equals > 0 &&
        codeOf(
            item.substr(equals + 1, at == std::string::npos ? std::string::npos : at - equals - 1),
            &parsed.code) &&
        (at == std::string::npos || ParseFaultNumber(item.substr(at + 1), &after)) && after >= 0;
    if (!ok) {
      std::fprintf(stderr, "%s: ignored malformed item '%s'\n", variable, item.c_str());
      if (malformed != nullptr) ++*malformed;
      continue;
    }
    parsed.call = item.substr(0, equals);
    parsed.after = static_cast<int>(after);
    items.push_back(std::move(parsed));
  }
  return items;
}

}  // namespace winport
