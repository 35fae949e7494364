// The remembered settings read from, and rewritten over, an arbitrary file: the record is
// found or not, and a rewrite keeps every other line byte for byte.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "ui/remembered_settings.h"

namespace {

// Whether `line` (without its line feed) is a record of `key`: the key, then three decimal
// fields (an optional '-' and digits) each ended by '/', then the path. Anything else that
// begins with the key is another user's line, or no record, and stays as it is.
bool IsRecord(const std::string& line, const std::string& key) {
  if (line.compare(0, key.size(), key) != 0) return false;
  std::size_t at = key.size();
  for (int field = 0; field < 3; ++field) {
    if (at < line.size() && line[at] == '-') ++at;
    std::size_t digits = at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
    if (at == digits || at >= line.size() || line[at] != '/') return false;
    ++at;
  }
  return true;
}

// The lines of `content`, each with its line feed when it has one.
std::vector<std::string> Lines(const std::string& content) {
  std::vector<std::string> lines;
  for (std::size_t line = 0; line < content.size();) {
    std::size_t end = content.find('\n', line);
    std::size_t next = end == std::string::npos ? content.size() : end + 1;
    lines.push_back(content.substr(line, next - line));
    line = next;
  }
  return lines;
}

std::string WithoutFeed(const std::string& line) {
  return !line.empty() && line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
}

// The content without the records of key, as a rewrite must leave it.
std::string Others(const std::string& content, const std::string& key) {
  std::string kept;
  for (const std::string& line : Lines(content)) {
    if (!IsRecord(WithoutFeed(line), key)) kept += line;
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
    // The whole remembered path of the first record, also one too long for the dialog.
    for (const std::string& line : Lines(old)) {
      const std::string value = WithoutFeed(line);
      if (!IsRecord(value, key)) continue;
      std::size_t third = value.find('/', value.find('/', value.find('/', key.size()) + 1) + 1);
      expectedPath = value.substr(third + 1);
      break;
    }
  }
  std::string line = key + "1/3/11/" + expectedPath + "\n";
  fuzzsupport::Require(fuzzsupport::ReadFile(file) == Others(old, key) + line);
  std::optional<RememberedRecord> again = settings.Read();
  fuzzsupport::Require(again && again->method == 1 && again->startMonth == 3 &&
                       again->endMonth == 11);
  return 0;
}
