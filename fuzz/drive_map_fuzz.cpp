// The drive-map variables: WINPORT_DRIVES on the first line, WINPORT_SHARES on the second,
// then paths to map both ways.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "winport/drive_map.h"
#include "winport/windows_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size() && lines.size() < 12;) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  while (lines.size() < 2) lines.emplace_back();
  // Variables are C strings.
  std::string drives = lines[0].substr(0, lines[0].find('\0'));
  std::string shares = lines[1].substr(0, lines[1].find('\0'));
  std::vector<std::string> warnings;
  winport::DriveMap map =
      winport::DriveMap::FromSettingsKeepingValid(drives.c_str(), shares.c_str(), &warnings);
  std::string error;
  std::optional<winport::DriveMap> strict =
      winport::DriveMap::FromSettings(drives.c_str(), shares.c_str(), &error);
  fuzzsupport::Require(strict.has_value() == warnings.empty());
  for (std::size_t i = 2; i < lines.size(); ++i) {
    std::optional<std::string> onLinux = map.ToLinux(lines[i]);
    if (onLinux) fuzzsupport::Require(!onLinux->empty() && (*onLinux)[0] == '/');
    for (const std::string& linux : {lines[i], "/" + lines[i]}) {
      std::optional<std::string> windows = map.ToWindowsOrShare(linux);
      // A Windows name given for a Linux path is one the resolver accepts and maps back.
      if (windows) {
        fuzzsupport::Require(winport::ResolveWindowsPath(*windows, {}).has_value());
        fuzzsupport::Require(map.ToLinux(*windows).has_value());
      }
    }
  }
  return 0;
}
