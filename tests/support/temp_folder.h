// Test support: a temporary Linux folder removed with everything in it at the end, and helpers
// to place files in it and see it as Windows sees it through the drive map.
#pragma once

#include <optional>
#include <string>

#include "winport/drive_map.h"

namespace testsupport {

// A u8"" literal as the std::string the Linux side uses (ordinary literals are code page 932).
inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }  // Linux path, UTF-8
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }
  // Creates sub-folders (UTF-8 relative path) and returns the Linux path.
  std::string MakeFolder(const std::string& relative) const;
  // Writes bytes to a file (UTF-8 relative path) and returns the Linux path.
  std::string WriteFile(const std::string& relative, const std::string& bytes) const;
  // Contents of a file (UTF-8 relative path), or nullopt when there is none.
  std::optional<std::string> Read(const std::string& relative) const;

 private:
  std::string path_;
};

// The Windows form of a Linux path under the current drive map (code page 932).
std::string WindowsPath(const std::string& linuxPath);

// A drive map with one fixed drive, C:, on `folder`.
winport::DriveMap DriveCOn(const TempFolder& folder);

// Restores the process's current directory at the end of a test that changes it.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard();
  ~CurrentDirectoryGuard();
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::string saved_;
};

// Installs a drive map for the test and gives the previous one back.
class DriveMapGuard {
 public:
  explicit DriveMapGuard(winport::DriveMap map);
  ~DriveMapGuard();
  DriveMapGuard(const DriveMapGuard&) = delete;
  DriveMapGuard& operator=(const DriveMapGuard&) = delete;

 private:
  winport::DriveMap saved_;
};

// Sets or unsets an environment variable for the lifetime of the guard.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value);  // value nullptr: unset
  ~EnvGuard();
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

}  // namespace testsupport
