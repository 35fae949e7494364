#include "tests/support/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "winport/drive_map.h"

namespace testsupport {

winport::DriveMap DriveCOn(const TempFolder& folder) {
  winport::DriveMap map;
  map.SetDrive('C', {folder.path(), DRIVE_FIXED});
  return map;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qltest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have taken the write bit away to make a folder read-only.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
  std::filesystem::path folder = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(folder);
  return folder.string();
}

std::string TempFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path file = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file.string();
}

std::optional<std::string> TempFolder::Read(const std::string& relative) const {
  std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string WindowsPath(const std::string& linuxPath) {
  std::optional<std::string> windows = winport::CurrentDriveMap().ToWindows(linuxPath);
  if (!windows) throw std::runtime_error("not reachable through the drive map: " + linuxPath);
  return *windows;
}

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  std::error_code ignored;
  std::filesystem::current_path(saved_, ignored);
}

DriveMapGuard::DriveMapGuard(winport::DriveMap map) : saved_(winport::CurrentDriveMap()) {
  winport::SetCurrentDriveMap(std::move(map));
}
DriveMapGuard::~DriveMapGuard() { winport::SetCurrentDriveMap(saved_); }

EnvGuard::EnvGuard(const char* name, const char* value) : name_(name) {
  const char* old = std::getenv(name);
  had_ = old != nullptr;
  if (had_) old_ = old;
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

EnvGuard::~EnvGuard() {
  if (had_) {
    setenv(name_.c_str(), old_.c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

}  // namespace testsupport
