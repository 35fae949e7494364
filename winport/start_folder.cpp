#include "winport/start_folder.h"

#include <unistd.h>

#include <cstdlib>

namespace winport {
namespace {

// Read before main, so before anything could change the current directory.
const std::string startFolder = [] {
  char* cwd = getcwd(nullptr, 0);
  std::string folder = cwd != nullptr ? cwd : "";
  std::free(cwd);
  return folder;
}();

}  // namespace

std::string FromStartFolder(const std::string& path) {
  if (path.empty() || path[0] == '/' || startFolder.empty()) return path;
  return startFolder + "/" + path;
}

}  // namespace winport
