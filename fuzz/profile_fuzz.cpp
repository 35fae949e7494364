// The profile functions over an arbitrary file: every section and key it lists is read back,
// into buffers of exactly the size given, so that a write past the end is caught.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "winport/profile.h"

namespace {

// Calls GetPrivateProfileStringA with a buffer of exactly `size` bytes and checks the result
// and the terminator; returns the bytes up to the result.
std::string Read(const char* section, const char* key, DWORD size, bool list) {
  auto buffer = std::make_unique<char[]>(size);
  DWORD length = GetPrivateProfileStringA(section, key, "dflt", buffer.get(), size, "C:\\f.ini");
  fuzzsupport::Require(length < size || size == 0);
  if (size == 0) return std::string();
  fuzzsupport::Require(buffer[length] == '\0');
  if (list && length + 1 < size)
    fuzzsupport::Require(length == 0 || buffer[length - 1] == '\0' || buffer[length + 1] == '\0');
  return std::string(buffer.get(), length);
}

std::vector<std::string> Names(const std::string& list) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start < list.size() && names.size() < 8;) {
    std::size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& root = fuzzsupport::Root();
  fuzzsupport::WriteFile(root + "/f.ini",
                         std::string_view(reinterpret_cast<const char*>(data), size));
  DWORD small = size > 0 ? data[0] % 24 : 3;
  std::vector<std::string> sections = Names(Read(nullptr, nullptr, 4096, true));
  Read(nullptr, nullptr, small, true);
  sections.push_back("");
  for (const std::string& section : sections) {
    std::string keyList = Read(section.c_str(), nullptr, 4096, true);
    Read(section.c_str(), nullptr, small, true);
    for (const std::string& key : Names(keyList)) {
      std::string value = Read(section.c_str(), key.c_str(), 4096, false);
      std::string cut = Read(section.c_str(), key.c_str(), small, false);
      fuzzsupport::Require(value.compare(0, cut.size(), cut) == 0);  // a cut is a prefix
      GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, "C:\\f.ini");
    }
  }
  return 0;
}
