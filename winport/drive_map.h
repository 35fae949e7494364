// Windows paths on the Linux file system, mapped the way Wine maps its drives: each drive
// letter has a Linux root folder and a drive type; UNC shares (\\server\share) have Linux roots
// too. Windows paths are code page 932 bytes, Linux names UTF-8; a second byte 0x5C of a
// double-byte character is never a separator.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "winport/win32_types.h"

// GetDriveTypeA results.
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

namespace winport {

struct Drive {
  std::string linuxRoot;  // UTF-8, absolute
  UINT type = DRIVE_FIXED;
};

class DriveMap {
 public:
  // Z: = / (fixed), the default when nothing is configured.
  DriveMap();

  // Reads WINPORT_DRIVES and WINPORT_SHARES (format in docs/winport.md); a variable that is
  // not set leaves the default. Returns nullopt with a message when a variable is malformed.
  static std::optional<DriveMap> FromEnvironment(std::string* error = nullptr);

  void SetDrive(char letter, Drive drive);  // letter A-Z, any case
  void RemoveDrive(char letter);
  void SetShare(std::string_view server, std::string_view share, std::string linuxRoot);
  const Drive* FindDrive(char letter) const;

  // An absolute Windows path (X:\... or \\server\share\...) to a Linux path; nullopt when the
  // drive or share is not mapped or a name cannot be represented. "." and ".." components
  // are resolved as Windows does, never above the drive root.
  std::optional<std::string> ToLinux(std::string_view windowsPath) const;
  // A Linux path to the Windows path of the drive whose root holds it most specifically.
  std::optional<std::string> ToWindows(std::string_view linuxPath) const;

 private:
  std::map<char, Drive> drives_;                   // upper-case letters
  std::map<std::string, std::string> shares_;      // "SERVER\SHARE" upper-cased -> root
};

// The process's drive map, taken from the environment on first use (the default when the
// environment is malformed, with a warning on stderr).
DriveMap& CurrentDriveMap();
void SetCurrentDriveMap(DriveMap map);

}  // namespace winport
