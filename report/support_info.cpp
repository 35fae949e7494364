#include "report/support_info.h"

#include <algorithm>
#include <new>

#include "winport/files.h"

namespace {

constexpr std::string_view kProductNameMarker = "[=製品名=]";
constexpr std::string_view kProductVersionMarker = "[=製品ﾊﾞｰｼﾞｮﾝ=]";
constexpr std::string_view kMultiLineMarkers[] = {"[=お問い合わせ内容=]",
                                                  "[=症状が再現する手順や条件=]"};

// The block is filled with this before reading: it marks where the read text ends.
constexpr unsigned char kUnread = 0xFF;

}  // namespace

SupportInfo::SupportInfo(std::function<void()> outOfMemory, std::string folder)
    : outOfMemory_(std::move(outOfMemory)), folder_(std::move(folder)) {}

std::string SupportInfo::ProductName() { return Field(kProductNameMarker); }

std::string SupportInfo::ProductVersion() { return Field(kProductVersionMarker); }

void SupportInfo::Load() {
  loaded_ = true;
  try {
    block_.assign(kBlockSize, kUnread);
  } catch (const std::bad_alloc&) {
    block_.clear();
    if (outOfMemory_) outOfMemory_();
    return;
  }
  std::string path = folder_ + kFileName;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // no file: every lookup finds nothing
  DWORD read = 0;
  ReadFile(file, block_.data(), static_cast<DWORD>(kBlockSize), &read, nullptr);
  CloseHandle(file);

  for (std::size_t i = 0; i < kBlockSize; ++i) {
    if (block_[i] == '\r' && i + 1 < kBlockSize && block_[i + 1] == '\n') {
      block_[i] = 0;
      block_[++i] = 0;
    } else if (block_[i] == 0x1A) {
      block_[i] = 0;
    }
  }
  for (std::string_view marker : kMultiLineMarkers) {
    // Searched afresh after each value: restoring line breaks changes the block.
    for (std::size_t p = Block().find(marker); p != std::string_view::npos;
         p = Block().find(marker, p + 1)) {
      RestoreLineBreaks(p + marker.size());
    }
  }
}

// A multi-line value runs to the end of the read text or to the line before the next marker.
void SupportInfo::RestoreLineBreaks(std::size_t start) {
  for (std::size_t j = start; j < kBlockSize; ++j) {
    if (block_[j] == kUnread) {
      block_[j] = 0;
      return;
    }
    if (j + 1 >= kBlockSize) return;
    if (block_[j] == '[' && block_[j + 1] == '=') {
      for (std::size_t k = std::max(start, j >= 2 ? j - 2 : 0); k < j; ++k) block_[k] = 0;
      return;
    }
    if (block_[j] == 0 && block_[j + 1] == 0) {
      block_[j] = '\r';
      block_[++j] = '\n';
    }
  }
}

std::string SupportInfo::Field(std::string_view marker) {
  if (!loaded_) Load();
  if (block_.empty() || marker.empty() || marker.size() > block_.size()) return std::string();
  std::size_t p = Block().find(marker);
  if (p == std::string_view::npos) return std::string();
  // The value ends at the line's terminator; a last line without one ends where the read
  // text does (0xFF never occurs in code page 932 text) or at the end of the block.
  auto begin = block_.begin() + static_cast<std::ptrdiff_t>(p + marker.size());
  auto end =
      std::find_if(begin, block_.end(), [](unsigned char c) { return c == 0 || c == kUnread; });
  return std::string(begin, end);
}
