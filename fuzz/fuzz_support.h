// Shared by the harnesses: a private temporary folder that is drive C: and the only place the
// drive map reaches (the default Z: drive is removed, so no input can name a real file), and
// small helpers around it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "winport/drive_map.h"

namespace fuzzsupport {

// The Linux folder behind C:, made on first use and removed at exit. More drives and shares
// can be added with `extra` before the map is installed.
inline const std::string& Root(void (*extra)(winport::DriveMap&, const std::string&) = nullptr) {
  static const std::string root = [extra] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/ql-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    winport::DriveMap map;
    map.RemoveDrive('Z');
    map.SetDrive('C', {pattern, DRIVE_FIXED});
    if (extra != nullptr) extra(map, pattern);
    winport::SetCurrentDriveMap(map);
    return pattern;
  }();
  static const struct Cleanup {
    ~Cleanup() {
      std::error_code ignored;
      std::filesystem::remove_all(root, ignored);
    }
  } cleanup;
  return root;
}

inline void WriteFile(const std::string& linuxPath, std::string_view bytes) {
  std::ofstream(linuxPath, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

inline std::string ReadFile(const std::string& linuxPath) {
  std::ifstream in(linuxPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Empties a folder below the root, keeping the folder itself.
inline void Empty(const std::string& linuxFolder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(linuxFolder, ignored)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

// A check that must hold for every input: a failure is a finding.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace fuzzsupport
