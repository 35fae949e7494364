// winport-path: a path in the other system's form, through the drive map the programs use
// (WINPORT_DRIVES, WINPORT_SHARES), so that scripts name files as the programs see them.
//
//   winport-path windows LINUX_PATH     the Windows form of an absolute Linux path
//   winport-path linux WINDOWS_PATH     the Linux form of an absolute Windows path
//
// Paths are UTF-8 on both sides. Exit status: 0 printed, 1 no drive or share holds the path,
// 64 bad usage.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "winport/drive_map.h"
#include "winport/encoding.h"

namespace {

constexpr const char* kUsageText =
    "usage: winport-path windows LINUX_PATH\n"
    "       winport-path linux WINDOWS_PATH\n";

std::optional<std::string> Convert(const std::string& direction, const std::string& path) {
  const winport::DriveMap& map = winport::CurrentDriveMap();
  if (direction == "linux") {
    std::optional<std::string> windows = winport::Utf8ToCp932Exact(path);
    if (!windows) return std::nullopt;
    return map.ToLinux(*windows);
  }
  std::optional<std::string> windows = map.ToWindows(path);
  if (!windows) return std::nullopt;
  return winport::Cp932ToUtf8(*windows);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  const std::string direction = argc == 3 ? argv[1] : "";
  if (direction != "windows" && direction != "linux") {
    std::fputs(kUsageText, stderr);
    return 64;
  }
  std::optional<std::string> converted = Convert(direction, argv[2]);
  if (!converted) {
    std::fprintf(stderr, "winport-path: no drive holds %s\n", argv[2]);
    return 1;
  }
  std::printf("%s\n", converted->c_str());
  return 0;
}
