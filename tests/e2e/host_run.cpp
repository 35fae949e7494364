#include "tests/e2e/host_run.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"

namespace e2e {

std::string BinDir() {
  const char* dir = std::getenv("QL_BIN_DIR");
  return dir != nullptr ? dir : "";
}

std::string SampleDatabase() {
  return "LEDVIA_DATA=" + Quoted(BinDir() + "/sample/ledvia-sample.db");
}

std::string DriveZ(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

HostRun RunHost(const std::string& env, const std::string& hostArgs, const std::string& program,
                const std::string& folder) {
  // The accounting product's folders of this test process, never the user's own.
  static const testsupport::TempFolder home;
  std::string command = (folder.empty() ? "" : "cd " + Quoted(folder) + " && ") +
                        "LEDVIA_HOME=" + Quoted(home.path()) + " " + env + " " +
                        Quoted(BinDir() + "/ledvia-host") + " " + hostArgs + " -- " +
                        Quoted(program) + " </dev/null 2>&1";
  return HostRun{testsupport::Shell(command)};
}

int HostRun::BoxCount() const {
  static const std::string kCaption = reinterpret_cast<const char*>(u8"[消費税] (");
  int count = 0;
  for (std::size_t at = output.find(kCaption); at != std::string::npos;
       at = output.find(kCaption, at + 1)) {
    ++count;
  }
  return count;
}

bool HostRun::HasInOrder(const std::vector<std::string>& texts) const {
  std::size_t from = 0;
  for (const std::string& text : texts) {
    std::size_t at = output.find(text, from);
    if (at == std::string::npos) return false;
    from = at + text.size();
  }
  return true;
}

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace e2e
