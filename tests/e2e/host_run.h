// End-to-end support: starting the built programs through ledvia-host, which plays the caller's
// window and prints what it receives, and reading back what they did.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/shell.h"

namespace e2e {

// The folder of the built programs (QL_BIN_DIR).
std::string BinDir();
// The environment assignment that opens the bundled sample company database.
std::string SampleDatabase();

// What ledvia-host printed (standard output and error, UTF-8) and its exit status.
struct HostRun : testsupport::ShellRun {
  // Message boxes shown (the script front end echoes each with its caption "消費税").
  int BoxCount() const;
  // Whether the texts occur in this order.
  bool HasInOrder(const std::vector<std::string>& texts) const;
};

// Runs `cd folder && env... ledvia-host hostArgs -- program` with no input (folder empty: the
// test's own working folder). LEDVIA_HOME is a temporary folder of the test process unless
// `env` names another.
HostRun RunHost(const std::string& env, const std::string& hostArgs, const std::string& program,
                const std::string& folder = "");

// The Windows form of a Linux path on the default drive Z: (the Linux root).
std::string DriveZ(const std::string& linuxPath);

// Single quotes for the shell.
std::string Quoted(const std::string& text);

// The bytes of a file, or nothing when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);

}  // namespace e2e
