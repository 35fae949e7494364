#include "winport/drive_map.h"

#include <algorithm>
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

// Describes a malformed entry and goes on with the next one.
void Warn(std::vector<std::string>* warnings, const char* variable, std::string_view entry,
          const char* why) {
  if (warnings)
    warnings->push_back(std::string(variable) + ": \"" + std::string(entry) + "\": " + why);
}

void ApplyDrives(DriveMap& map, std::string_view text, std::vector<std::string>* warnings) {
  const char* kName = "WINPORT_DRIVES";
  for (std::string_view entry : SplitEntries(text)) {
    std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) {
      Warn(warnings, kName, entry, "expected X=/root[:type]");
      continue;
    }
    std::string_view letter = Trim(entry.substr(0, eq));
    if (letter.size() == 2 && letter[1] == ':') letter = letter.substr(0, 1);
    if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])) ||
        static_cast<unsigned char>(letter[0]) >= 0x80) {
      Warn(warnings, kName, entry, "the drive must be one letter A-Z");
      continue;
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
        Warn(warnings, kName, entry,
             "unknown drive type (removable, fixed, remote, cdrom, ramdisk, noroot, "
             "unknown)");
        continue;
      }
      drive.type = *type;
      value = value.substr(0, colon);
    }
    if (value.empty() || value[0] != '/') {
      Warn(warnings, kName, entry, "the root must be an absolute Linux path");
      continue;
    }
    drive.linuxRoot = std::string(value);
    map.SetDrive(letter[0], std::move(drive));
  }
}

void ApplyShares(DriveMap& map, std::string_view text, std::vector<std::string>* warnings) {
  const char* kName = "WINPORT_SHARES";
  for (std::string_view entry : SplitEntries(text)) {
    std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos) {
      Warn(warnings, kName, entry, "expected server\\share=/root");
      continue;
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
      Warn(warnings, kName, entry, "expected a server and a share name, as server\\share");
      continue;
    }
    std::string_view root = Trim(entry.substr(eq + 1));
    if (root.empty() || root[0] != '/') {
      Warn(warnings, kName, entry, "the root must be an absolute Linux path");
      continue;
    }
    map.SetShare(*server, *share, std::string(root));
  }
}

}  // namespace

DriveMap::DriveMap() { drives_['Z'] = Drive{"/", DRIVE_FIXED}; }

DriveMap DriveMap::FromEnvironment(std::vector<std::string>* warnings) {
  return FromSettingsKeepingValid(std::getenv("WINPORT_DRIVES"), std::getenv("WINPORT_SHARES"),
                                  warnings);
}

DriveMap DriveMap::FromSettingsKeepingValid(const char* drives, const char* shares,
                                            std::vector<std::string>* warnings) {
  DriveMap map;
  if (drives) ApplyDrives(map, drives, warnings);
  if (shares) ApplyShares(map, shares, warnings);
  return map;
}

std::optional<DriveMap> DriveMap::FromSettings(const char* drives, const char* shares,
                                               std::string* error) {
  std::vector<std::string> problems;
  DriveMap map = FromSettingsKeepingValid(drives, shares, &problems);
  if (problems.empty()) return map;
  if (error) *error = problems.front();
  return std::nullopt;
}

void DriveMap::SetDrive(char letter, Drive drive) {
  drive.linuxRoot = JoinLinux(LinuxNames(drive.linuxRoot));
  drives_[UpperLetter(letter)] = std::move(drive);
}

void DriveMap::RemoveDrive(char letter) { drives_.erase(UpperLetter(letter)); }

void DriveMap::SetShare(std::string_view server, std::string_view share, std::string linuxRoot) {
  shares_[ShareKey(server, share)] =
      Share{std::string(server), std::string(share), JoinLinux(LinuxNames(linuxRoot))};
}

const Drive* DriveMap::FindDrive(char letter) const {
  auto it = drives_.find(UpperLetter(letter));
  return it == drives_.end() ? nullptr : &it->second;
}

const std::string* DriveMap::FindShare(std::string_view server, std::string_view share) const {
  auto it = shares_.find(ShareKey(server, share));
  return it == shares_.end() ? nullptr : &it->second.linuxRoot;
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

namespace {

// The Windows names of names[from...], each joined with a leading '\'; nullopt when one has
// no exact code page 932 form a Windows name may have.
std::optional<std::string> WindowsNamesBelow(const std::vector<std::string>& names,
                                             std::size_t from) {
  std::string out;
  for (std::size_t i = from; i < names.size(); ++i) {
    std::optional<std::string> name = Utf8ToCp932Exact(names[i]);
    // Only a name that comes back unchanged is used, so two Linux names never share one
    // Windows name; and a name Windows could not hold (a '\' in it, say) has no Windows form.
    if (!name || Cp932ToUtf8Exact(*name) != names[i] || !IsValidFileName(*name)) {
      return std::nullopt;
    }
    out += "\\" + *name;
  }
  return out;
}

bool HoldsPath(const std::vector<std::string>& root, const std::vector<std::string>& names) {
  return root.size() <= names.size() && std::equal(root.begin(), root.end(), names.begin());
}

}  // namespace

std::optional<std::string> DriveMap::ToWindows(std::string_view linuxPath) const {
  if (linuxPath.empty() || linuxPath[0] != '/') return std::nullopt;
  std::vector<std::string> names = LinuxNames(linuxPath);
  char best = 0;
  std::size_t bestDepth = 0;
  for (const auto& [letter, drive] : drives_) {
    std::vector<std::string> root = LinuxNames(drive.linuxRoot);
    if (best != 0 && root.size() <= bestDepth) continue;
    if (HoldsPath(root, names)) {
      best = letter;
      bestDepth = root.size();
    }
  }
  if (best == 0) return std::nullopt;
  std::optional<std::string> below = WindowsNamesBelow(names, bestDepth);
  if (!below) return std::nullopt;
  return std::string(1, best) + ":" + (below->empty() ? "\\" : *below);
}

std::optional<std::string> DriveMap::ToWindowsOrShare(std::string_view linuxPath) const {
  if (std::optional<std::string> onDrive = ToWindows(linuxPath)) return onDrive;
  if (linuxPath.empty() || linuxPath[0] != '/') return std::nullopt;
  std::vector<std::string> names = LinuxNames(linuxPath);
  const Share* best = nullptr;
  std::size_t bestDepth = 0;
  for (const auto& [key, share] : shares_) {
    std::vector<std::string> root = LinuxNames(share.linuxRoot);
    if (best != nullptr && root.size() <= bestDepth) continue;
    if (HoldsPath(root, names)) {
      best = &share;
      bestDepth = root.size();
    }
  }
  if (best == nullptr) return std::nullopt;
  std::optional<std::string> below = WindowsNamesBelow(names, bestDepth);
  if (!below) return std::nullopt;
  return "\\\\" + best->server + "\\" + best->share + *below;
}

DriveMap& CurrentDriveMap() {
  static DriveMap map = [] {
    std::vector<std::string> warnings;
    DriveMap configured = DriveMap::FromEnvironment(&warnings);
    for (const std::string& warning : warnings) {
      std::fprintf(stderr, "winport: %s; entry ignored\n", warning.c_str());
    }
    return configured;
  }();
  return map;
}

void SetCurrentDriveMap(DriveMap map) { CurrentDriveMap() = std::move(map); }

}  // namespace winport
