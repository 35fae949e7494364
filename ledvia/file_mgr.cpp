#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "accounting/ClFileMgr.h"
#include "winport/cp932.h"
#include "winport/drive_map.h"

namespace {

// LEDVIA_HOME, else the per-user data folder ($XDG_DATA_HOME or ~/.local/share) + /ledvia.
std::string LedviaHome() {
  if (const char* home = std::getenv("LEDVIA_HOME"); home != nullptr && *home != '\0') return home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
    return std::string(xdg) + "/ledvia";
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && *home != '\0' ? home : "/tmp") + "/.local/share/ledvia";
}

// mkdir -p; true when the folder exists afterwards.
bool MakeFolders(const std::string& path) {
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

ClFileMgr* ClFileMgr::Inst() {
  static ClFileMgr instance;
  return &instance;
}

std::string ClFileMgr::GetAppFolderPath(int folderType) {
  const char* leaf = folderType == FOLDER_OUTPUT     ? "Output"
                     : folderType == FOLDER_SETTINGS ? "Settings"
                                                     : nullptr;
  if (leaf == nullptr) return std::string();
  std::string folder = LedviaHome() + "/" + leaf;
  if (!MakeFolders(folder)) return std::string();
  std::optional<std::string> windows = winport::CurrentDriveMap().ToWindows(folder);
  if (!windows) return std::string();
  if (!winport::cp932::EndsWithBackslash(*windows)) windows->push_back('\\');
  return *windows;
}
