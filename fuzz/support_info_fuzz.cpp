// The support-information reader over an arbitrary "SUPPORT.INF".
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "report/support_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& root = fuzzsupport::Root();
  fuzzsupport::WriteFile(root + "/SUPPORT.INF",
                         std::string_view(reinterpret_cast<const char*>(data), size));
  SupportInfo info({}, "C:\\");
  const std::string values[] = {info.ProductName(), info.ProductVersion(),
                                info.Field("[=お問い合わせ内容=]"),
                                info.Field("[=症状が再現する手順や条件=]"), info.Field("[=")};
  for (const std::string& value : values) {
    // A value ends at its line end or where the read text ends; it never holds either mark.
    fuzzsupport::Require(value.find('\0') == std::string::npos);
    fuzzsupport::Require(value.find('\xFF') == std::string::npos);
    fuzzsupport::Require(value.size() < SupportInfo::kBlockSize);
  }
  return 0;
}
