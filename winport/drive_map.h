// Windows paths on the Linux file system, mapped the way Wine maps its drives: each drive
// letter has a Linux root folder and a drive type; UNC shares (\\server\share) have Linux roots
// too. Windows paths are code page 932 bytes, Linux names UTF-8; a second byte 0x5C of a
// double-byte character is never a separator.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

  // Reads WINPORT_DRIVES and WINPORT_SHARES (see FromSettings); a variable that is not set
  // leaves the default. Every valid entry of either variable is kept; each malformed one is
  // left out and described in *warnings, so one bad entry never costs the others.
  static DriveMap FromEnvironment(std::vector<std::string>* warnings = nullptr);

  // The default map changed by the two settings texts (UTF-8; nullptr = not set):
  //   drives: entries "X=/linux/root[:type]" separated by ';'. X is a letter A-Z in any case,
  //     optionally followed by ':' ("C:=/srv/c"). type is one of removable, fixed (the
  //     default), remote, cdrom, ramdisk, noroot, unknown. A root that itself holds ':' needs
  //     the explicit type. "X=" with nothing after '=' removes the drive ("Z=" drops the
  //     default Z:). Later entries replace earlier ones.
  //   shares: entries "server\share=/linux/root" separated by ';' ('/' may stand for '\',
  //     and a leading "\\" is allowed); server and share match without regard to case.
  //   Blanks around entries are ignored, as are empty entries. Roots must be absolute.
  // nullopt with a message naming the variable and the entry when a text is malformed.
  static std::optional<DriveMap> FromSettings(const char* drives, const char* shares,
                                              std::string* error = nullptr);
  // The same, keeping the valid entries: each malformed entry is skipped and described (as
  // FromSettings would name it) in *warnings.
  static DriveMap FromSettingsKeepingValid(const char* drives, const char* shares,
                                           std::vector<std::string>* warnings);

  void SetDrive(char letter, Drive drive);  // letter A-Z, any case; the root is normalised
  void RemoveDrive(char letter);
  void SetShare(std::string_view server, std::string_view share, std::string linuxRoot);
  const Drive* FindDrive(char letter) const;
  // The Linux root of a share (server and share names code page 932, any case); nullptr
  // when it is not mapped.
  const std::string* FindShare(std::string_view server, std::string_view share) const;

  // An absolute Windows path (X:\... or \\server\share\...) to a Linux path; nullopt when the
  // drive or share is not mapped, the path is relative ("X:rel" counts from X's root here), a
  // name is one Windows refuses, or a name has no UTF-8 form. '/' separates too; "." and ".."
  // are resolved as Windows does, never above the drive or share root; trailing dots and
  // blanks of the last name are dropped. Each name is converted exactly (code page 932 to
  // UTF-8), as Wine does; no case-insensitive search here (the file functions add it).
  std::optional<std::string> ToLinux(std::string_view windowsPath) const;
  // An absolute Linux path to the Windows path of the drive whose root holds it most
  // specifically (the lowest letter among equal roots): "Z:\home\x" for "/home/x" by default.
  // "." and ".." are resolved by name. nullopt when no drive holds it or a name has no exact
  // code page 932 form a Windows name may have. Shares are never chosen, as in Wine.
  std::optional<std::string> ToWindows(std::string_view linuxPath) const;
  // As ToWindows; a path no drive holds is named through the share whose root holds it most
  // specifically ("\\server\share\dir", the names as configured), so that a program kept in
  // a folder reached only through a share still finds itself. nullopt when neither holds it.
  std::optional<std::string> ToWindowsOrShare(std::string_view linuxPath) const;

 private:
  struct Share {
    std::string server, share;  // code page 932, as configured
    std::string linuxRoot;
  };
  std::map<char, Drive> drives_;         // upper-case letters
  std::map<std::string, Share> shares_;  // "SERVER\SHARE" upper-cased
};

// The process's drive map, taken from the environment on first use (malformed entries are
// left out, each with a warning on stderr).
DriveMap& CurrentDriveMap();
void SetCurrentDriveMap(DriveMap map);

}  // namespace winport
