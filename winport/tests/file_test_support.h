// Helpers for the file-layer tests: a temporary Linux folder, UTF-8 literals next to the
// code page 932 ones, and guards that give back the process drive map, working folder and
// environment after a test.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "winport/drive_map.h"

namespace filetest {

// A u8"" literal as the std::string the Linux side uses (ordinary literals are code page 932).
inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/winport-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  std::string MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(*this / relative);
    return *this / relative;
  }
  std::string Write(const std::string& relative, const std::string& bytes) const {
    std::ofstream(*this / relative, std::ios::binary) << bytes;
    return *this / relative;
  }
  // Contents of a file, or nullopt when there is none.
  std::optional<std::string> Read(const std::string& relative) const {
    std::ifstream in(*this / relative, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string path_;
};

// Installs a drive map for the test and gives the previous one back.
class DriveMapGuard {
 public:
  explicit DriveMapGuard(winport::DriveMap map) : saved_(winport::CurrentDriveMap()) {
    winport::SetCurrentDriveMap(std::move(map));
  }
  ~DriveMapGuard() { winport::SetCurrentDriveMap(saved_); }
  DriveMapGuard(const DriveMapGuard&) = delete;
  DriveMapGuard& operator=(const DriveMapGuard&) = delete;

 private:
  winport::DriveMap saved_;
};

class WorkingFolderGuard {
 public:
  WorkingFolderGuard() : saved_(std::filesystem::current_path()) {}
  ~WorkingFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }
  WorkingFolderGuard(const WorkingFolderGuard&) = delete;
  WorkingFolderGuard& operator=(const WorkingFolderGuard&) = delete;

 private:
  std::filesystem::path saved_;
};

class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    if (old != nullptr) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvGuard() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace filetest
