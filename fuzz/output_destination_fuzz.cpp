// The output destination check on a temporary drive root: the first byte chooses whether the
// path is fixed and how the questions are answered, the rest is the output path. Whatever is
// created must lie on drive C:, and a refused creation leaves nothing behind.
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"
#include "ui/output_destination.h"
#include "winport/message_box.h"
#include "winport/script/recording_ui.h"

namespace {

void MoreDrives(winport::DriveMap& map, const std::string& root) {
  std::filesystem::create_directories(root + "/c");
  std::filesystem::create_directories(root + "/cd");
  std::filesystem::create_directories(root + "/share");
  map.SetDrive('C', {root + "/c", DRIVE_FIXED});
  map.SetDrive('D', {root + "/cd", DRIVE_CDROM});
  map.SetDrive('F', {root + "/none", DRIVE_REMOVABLE});  // no medium
  map.SetShare("srv", "pub", root + "/share");
}

std::size_t CountEntries(const std::string& folder) {
  std::error_code ignored;
  std::size_t n = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    ++n;
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& root = fuzzsupport::Root(MoreDrives);
  if (size == 0 || size > 400) return 0;
  fuzzsupport::Empty(root + "/c");
  fuzzsupport::Empty(root + "/share");
  fuzzsupport::WriteFile(root + "/c/exists.xml", "x");
  const std::uint8_t flags = data[0];
  std::string path(reinterpret_cast<const char*>(data + 1), size - 1);
  path = path.substr(0, path.find('\0'));  // the output field holds C text

  winport::RecordingUiBackend ui;
  winport::ScopedUiBackend scope(ui);
  for (int bit = 1; bit < 8; ++bit) ui.answers.push_back(flags & (1 << bit) ? IDYES : IDNO);
  OutputCheckResult result = CheckOutputDestination(nullptr, path, (flags & 1) != 0);
  (void)result;
  // Nothing appears outside the drive and share roots, and nothing without a Yes.
  fuzzsupport::Require(CountEntries(root) ==
                       CountEntries(root + "/c") + CountEntries(root + "/share") + 3);
  bool saidYes = false;
  for (std::size_t i = 0; i < ui.boxes.size() && i < 7; ++i) {
    saidYes = saidYes || (flags & (2 << i)) != 0;
  }
  if (!saidYes)
    fuzzsupport::Require(CountEntries(root + "/c") == 1 && CountEntries(root + "/share") == 0);
  return 0;
}
