// The remembered settings read from, and rewritten over, an arbitrary file: the record is
// found or not, and a rewrite keeps every other line byte for byte.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "ui/remembered_settings.h"

namespace {

// The content without the lines that begin with key, as a rewrite must leave it.
std::string Others(const std::string& content, const std::string& key) {
  std::string kept;
  for (std::size_t line = 0; line < content.size();) {
    std::size_t end = content.find('\n', line);
    std::size_t next = end == std::string::npos ? content.size() : end + 1;
    if (content.compare(line, key.size(), key) != 0) kept += content.substr(line, next - line);
    line = next;
  }
  if (!kept.empty() && kept.back() != '\n') kept += '\n';
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& root = fuzzsupport::Root();
  const std::string file = root + "/Fuzz.env";
  const std::string old(reinterpret_cast<const char*>(data), size);
  fuzzsupport::WriteFile(file, old);
  const std::string key = "user/1/-2:";
  RememberedSettings settings("user", 1, -2, "Fuzz.env", "C:\\");
  std::optional<RememberedRecord> found = settings.Read();
  bool keepPath = size > 0 && (data[0] & 1);
  fuzzsupport::Require(settings.Write(3, 11, keepPath ? nullptr : "C:\\out/a:b.xml", 1));
  std::string expectedPath = keepPath ? "" : "C:\\out/a:b.xml";
  if (keepPath && found) {
    // The whole remembered path, also one too long for the dialog.
    std::size_t start = old.find(key) == 0 ? 0 : old.find("\n" + key) + 1;
    std::size_t valueEnd = old.find('\n', start);
    std::string value = old.substr(start + key.size(), valueEnd == std::string::npos
                                                           ? std::string::npos
                                                           : valueEnd - start - key.size());
    std::size_t third = value.find('/', value.find('/', value.find('/') + 1) + 1);
    expectedPath = value.substr(third + 1);
  }
  std::string line = key + "1/3/11/" + expectedPath + "\n";
  fuzzsupport::Require(fuzzsupport::ReadFile(file) == Others(old, key) + line);
  std::optional<RememberedRecord> again = settings.Read();
  fuzzsupport::Require(again && again->method == 1 && again->startMonth == 3 &&
                       again->endMonth == 11);
  return 0;
}
