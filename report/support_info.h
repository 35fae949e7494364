// Reader of "SUPPORT.INF", the support-information file the accounting product installs in
// the program folder: named fields, each introduced by a marker "[=name=]". Single-line fields
// run from the marker to the end of its line; the two multi-line fields keep their line breaks.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class SupportInfo {
 public:
  static constexpr std::size_t kBlockSize = 30000;  // at most this much of the file is read
  static constexpr const char* kFileName = "SUPPORT.INF";

  // `folder` is prefixed to the file name (empty: the current directory, which start-up makes
  // the program folder); `outOfMemory` is told when the file cannot be read for want of memory.
  explicit SupportInfo(std::function<void()> outOfMemory = {}, std::string folder = std::string());

  // The field's value, or empty when the file or the field is missing. The first call loads
  // the file.
  std::string ProductName();
  std::string ProductVersion();
  std::string Field(std::string_view marker);

 private:
  void Load();
  void RestoreLineBreaks(std::size_t start);
  std::string_view Block() const {
    return std::string_view(reinterpret_cast<const char*>(block_.data()), block_.size());
  }

  std::function<void()> outOfMemory_;
  std::string folder_;
  bool loaded_ = false;
  std::vector<unsigned char> block_;  // empty when it could not be allocated
};
