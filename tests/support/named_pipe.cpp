#include "tests/support/named_pipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace testsupport {

NamedPipe::NamedPipe(std::string linuxPath) : path_(std::move(linuxPath)) {
  if (mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed: " + path_);
  watcher_ = std::thread([this] {
    while (!stop_.load()) {
      // Opening the writing end without blocking succeeds only while a reader has it open.
      int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) close(fd);  // the reader now sees the end of the data
      usleep(5000);
    }
  });
}

NamedPipe::~NamedPipe() {
  stop_.store(true);
  watcher_.join();
  unlink(path_.c_str());
}

}  // namespace testsupport
