#include "winport/window_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "winport/start_folder.h"

namespace winport {
std::string WindowFolder() {
  const char* explicitFolder = std::getenv("WINPORT_WINDOW_DIR");
  if (explicitFolder != nullptr && explicitFolder[0] != '\0')
    return FromStartFolder(explicitFolder);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return std::string(runtime) + "/winport";
  return "/tmp/winport-" + std::to_string(getuid());
}

std::string CheckWindowFolder(const std::string& folder) {
  struct stat info;
  // lstat: a symbolic link planted in a shared folder such as /tmp must not redirect us.
  if (lstat(folder.c_str(), &info) != 0) {
    return "window folder " + folder + ": " + std::strerror(errno);
  }
  if (!S_ISDIR(info.st_mode)) return "window folder " + folder + " is not a directory";
  if (info.st_uid != getuid()) {
    return "window folder " + folder + " belongs to user " + std::to_string(info.st_uid);
  }
  if ((info.st_mode & 077) != 0) {
    return "window folder " + folder + " is open to other users (mode " +
           std::to_string((info.st_mode >> 6) & 7) + std::to_string((info.st_mode >> 3) & 7) +
           std::to_string(info.st_mode & 7) + ")";
  }
  return "";
}

std::string PrepareWindowFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return "cannot create window folder " + folder + ": " + std::strerror(errno);
  }
  return CheckWindowFolder(folder);
}

std::string WindowSocketPath(const std::string& folder, std::int64_t handle) {
  return folder + "/" + std::to_string(handle);
}

std::string WindowDisabledPath(const std::string& folder, std::int64_t handle) {
  return folder + "/" + std::to_string(handle) + ".disabled";
}

}  // namespace winport
