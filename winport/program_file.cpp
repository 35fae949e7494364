#include "winport/program_file.h"

#include <unistd.h>

#include <climits>

namespace winport {

std::string ProgramFile() {
  char target[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::string BesideProgram(const std::string& name) {
  std::string file = ProgramFile();
  std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return name;
  return file.substr(0, slash + 1) + name;
}

}  // namespace winport
