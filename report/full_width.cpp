#include "report/full_width.h"

#include <vector>

#include "winport/cp932.h"
#include "winport/lcmap.h"

std::string ToFullWidth(std::string_view name) {
  if (name.empty()) return std::string();
  // Every character at most doubles in width.
  std::vector<char> mapped(name.size() * 2 + 1);
  int length =
      LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, name.data(),
                   static_cast<int>(name.size()), mapped.data(), static_cast<int>(mapped.size()));
  std::string_view result(mapped.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
  return std::string(result.substr(0, winport::cp932::CutLength(result, kFullWidthNameLimit)));
}
