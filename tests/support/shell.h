// Test support: running a shell command and collecting what it printed.
#pragma once

#include <string>

namespace testsupport {

struct ShellRun {
  int exitCode = -1;   // -1 when the command could not be started or did not exit normally
  std::string output;  // standard output (append 2>&1 to the command for both streams)
  bool Has(const std::string& text) const { return output.find(text) != std::string::npos; }
};

// Runs `command` with /bin/sh and waits for it.
ShellRun Shell(const std::string& command);

}  // namespace testsupport
