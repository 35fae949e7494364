// Test support: a named pipe (FIFO) where a program expects a file. Opening one for reading
// blocks until a writer comes; the pipe lets any such reader go again (it opens and closes the
// writing end whenever a reader waits), so a test of code that should have refused it ends
// with a wrong answer instead of hanging.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace testsupport {

class NamedPipe {
 public:
  explicit NamedPipe(std::string linuxPath);  // creates the FIFO (mode 0600)
  ~NamedPipe();
  NamedPipe(const NamedPipe&) = delete;
  NamedPipe& operator=(const NamedPipe&) = delete;

 private:
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

}  // namespace testsupport
