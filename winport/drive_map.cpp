#include "winport/drive_map.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "winport/cp932.h"
#include "winport/cp932_case.h"
#include "winport/encoding.h"
#include "winport/windows_path.h"

namespace winport {
namespace {

char UpperLetter(char letter) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

// The names of an absolute Linux path with "." and ".." resolved; ".." at "/" stays at "/".
std::vector<std::string> LinuxNames(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view name = path.substr(start, end - start);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.emplace_back(name);
    }
    start = end + 1;
  }
  return names;
}

std::string JoinLinux(const std::vector<std::string>& names) {
  if (names.empty()) return "/";
  std::string out;
  for (const std::string& name : names) out += "/" + name;
  return out;
}

std::string ShareKey(std::string_view server, std::string_view share) {
  return cp932::ToUpperAscii(std::string(server) + "\\" + std::string(share));
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

std::vector<std::string_view> SplitEntries(std::string_view text) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view entry = Trim(text.substr(start, end - start));
    if (!entry.empty()) entries.push_back(entry);
    start = end + 1;
  }
  return entries;
}

std::optional<UINT> DriveTypeNamed(std::string_view name) {
  static const struct {
    const char* name;
    UINT type;
  } kTypes[] = {{"REMOVABLE", DRIVE_REMOVABLE}, {"FIXED", DRIVE_FIXED},
                {"REMOTE", DRIVE_REMOTE},       {"CDROM", DRIVE_CDROM},
                {"RAMDISK", DRIVE_RAMDISK},     {"NOROOT", DRIVE_NO_ROOT_DIR},
                {"UNKNOWN", DRIVE_UNKNOWN}};
  std::string upper = cp932::ToUpperAscii(name);
  for (const auto& entry : kTypes) {
    if (upper == entry.name) return entry.type;
  }
  return std::nullopt;
}

bool Fail(std::string* error, const char* variable, std::string_view entry, const char* why) {
  if (error) *error = std::string(variable) + ": \"" + std::string(entry) + "\": " + why;
  return false;
}

bool ApplyDrives(DriveMap& map, std::string_view text, std::string* error) {
  const char* kName = "WINPORT_DRIVES";
  for (std::string_view entry : SplitEntries(text)) {
    std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) return Fail(error, kName, entry, "expected X=/root[:type]");
    std::string_view letter = Trim(entry.substr(0, eq));
    if (letter.size() == 2 && letter[1] == ':') letter = letter.substr(0, 1);
    if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])) ||
        static_cast<unsigned char>(letter[0]) >= 0x80) {
      return Fail(error, kName, entry, "the drive must be one letter A-Z");
    }
    std::string_view value = Trim(entry.substr(eq + 1));
    if (value.empty()) {
      map.RemoveDrive(letter[0]);
      continue;
    }
    Drive drive;
    std::size_t colon = value.rfind(':');
    if (colon != std::string_view::npos) {
      std::optional<UINT> type = DriveTypeNamed(value.substr(colon + 1));
      if (!type) {
        return Fail(error, kName, entry,
                    "unknown drive type (removable, fixed, remote, cdrom, ramdisk, noroot, "
                    "unknown)");
      }
      drive.type = *type;
      value = value.substr(0, colon);
    }
    if (value.empty() || value[0] != '/') {
      return Fail(error, kName, entry, "the root must be an absolute Linux path");
    }
    drive.linuxRoot = std::string(value);
    map.SetDrive(letter[0], std::move(drive));
  }
  return true;
}

bool ApplyShares(DriveMap& map, std::string_view text, std::string* error) {
  const char* kName = "WINPORT_SHARES";
  for (std::string_view entry : SplitEntries(text)) {
    std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) {
      return Fail(error, kName, entry, "expected server\\share=/root");
    }
    std::string_view name = Trim(entry.substr(0, eq));
    while (!name.empty() && IsPathSeparator(name.front())) name.remove_prefix(1);
    std::size_t sep = name.find_first_of("\\/");
    std::optional<std::string> server, share;
    if (sep != std::string_view::npos) {
      server = Utf8ToCp932Exact(name.substr(0, sep));
      share = Utf8ToCp932Exact(name.substr(sep + 1));
    }
    if (!server || !share || !IsValidFileName(*server) || !IsValidFileName(*share)) {
      return Fail(error, kName, entry, "expected a server and a share name, as server\\share");
    }
    std::string_view root = Trim(entry.substr(eq + 1));
    if (root.empty() || root[0] != '/') {
      return Fail(error, kName, entry, "the root must be an absolute Linux path");
    }
    map.SetShare(*server, *share, std::string(root));
  }
  return true;
}

}  // namespace

DriveMap::DriveMap() { drives_['Z'] = Drive{"/", DRIVE_FIXED}; }

std::optional<DriveMap> DriveMap::FromEnvironment(std::string* error) {
  return FromSettings(std::getenv("WINPORT_DRIVES"), std::getenv("WINPORT_SHARES"), error);
}

std::optional<DriveMap> DriveMap::FromSettings(const char* drives, const char* shares,
                                               std::string* error) {
  DriveMap map;
  if (drives && !ApplyDrives(map, drives, error)) return std::nullopt;
  if (shares && !ApplyShares(map, shares, error)) return std::nullopt;
  return map;
}

void DriveMap::SetDrive(char letter, Drive drive) {
  drive.linuxRoot = JoinLinux(LinuxNames(drive.linuxRoot));
  drives_[UpperLetter(letter)] = std::move(drive);
}

void DriveMap::RemoveDrive(char letter) { drives_.erase(UpperLetter(letter)); }

void DriveMap::SetShare(std::string_view server, std::string_view share, std::string linuxRoot) {
  shares_[ShareKey(server, share)] = JoinLinux(LinuxNames(linuxRoot));
}

const Drive* DriveMap::FindDrive(char letter) const {
  auto it = drives_.find(UpperLetter(letter));
  return it == drives_.end() ? nullptr : &it->second;
}

const std::string* DriveMap::FindShare(std::string_view server, std::string_view share) const {
  auto it = shares_.find(ShareKey(server, share));
  return it == shares_.end() ? nullptr : &it->second;
}

std::optional<std::string> DriveMap::ToLinux(std::string_view windowsPath) const {
  std::optional<WindowsPath> path = ResolveWindowsPath(windowsPath, {});
  if (!path) return std::nullopt;
  std::string root;
  if (path->drive != 0) {
    const Drive* drive = FindDrive(path->drive);
    if (!drive) return std::nullopt;
    root = drive->linuxRoot;
  } else {
    const std::string* shareRoot = FindShare(path->server, path->share);
    if (!shareRoot) return std::nullopt;
    root = *shareRoot;
  }
  std::string out = root == "/" ? "" : root;
  for (const std::string& name : path->names) {
    std::optional<std::string> utf8 = Cp932ToUtf8Exact(name);
    if (!utf8) return std::nullopt;
    out += "/" + *utf8;
  }
  return out.empty() ? "/" : out;
}

std::optional<std::string> DriveMap::ToWindows(std::string_view linuxPath) const {
  if (linuxPath.empty() || linuxPath[0] != '/') return std::nullopt;
  std::vector<std::string> names = LinuxNames(linuxPath);
  char best = 0;
  std::size_t bestDepth = 0;
  for (const auto& [letter, drive] : drives_) {
    std::vector<std::string> root = LinuxNames(drive.linuxRoot);
    if (root.size() > names.size() || (best != 0 && root.size() <= bestDepth)) continue;
    if (std::equal(root.begin(), root.end(), names.begin())) {
      best = letter;
      bestDepth = root.size();
    }
  }
  if (best == 0) return std::nullopt;
  std::string out = std::string(1, best) + ":";
  for (std::size_t i = bestDepth; i < names.size(); ++i) {
    std::optional<std::string> name = Utf8ToCp932Exact(names[i]);
    // Only a name that comes back unchanged is used, so two Linux names never share one
    // Windows name; and a name Windows could not hold (a '\' in it, say) has no Windows form.
    if (!name || Cp932ToUtf8Exact(*name) != names[i] || !IsValidFileName(*name)) {
      return std::nullopt;
    }
    out += "\\" + *name;
  }
  if (bestDepth == names.size()) out += "\\";
  return out;
}

DriveMap& CurrentDriveMap() {
  static DriveMap map = [] {
    std::string error;
    std::optional<DriveMap> configured = DriveMap::FromEnvironment(&error);
    if (configured) return *configured;
    std::fprintf(stderr, "winport: %s; using the default drive map (Z: is /)\n", error.c_str());
    return DriveMap();
  }();
  return map;
}

void SetCurrentDriveMap(DriveMap map) { CurrentDriveMap() = std::move(map); }

}  // namespace winport
