#include "winport/split_path.h"

#include <string_view>

#include "winport/cp932.h"

namespace winport {
namespace {

void CopyPart(std::string_view part, char* buffer, std::size_t size) {
  if (buffer == nullptr) return;
  std::size_t length = cp932::CutLength(part, size - 1);
  part.copy(buffer, length);
  buffer[length] = '\0';
}

}  // namespace

void SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  std::string_view text = path ? std::string_view(path) : std::string_view();
  std::string_view drivePart;
  if (text.size() >= 2 && text[1] == ':') {
    drivePart = text.substr(0, 2);
    text.remove_prefix(2);
  }
  std::size_t nameStart = 0;
  std::size_t lastDot = std::string_view::npos;
  for (std::size_t i = 0; i < text.size();) {
    bool pair = cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    if (pair) {
      i += 2;
      continue;
    }
    if (text[i] == '\\' || text[i] == '/') {
      nameStart = i + 1;
    } else if (text[i] == '.') {
      lastDot = i;
    }
    ++i;
  }
  std::string_view name = text.substr(nameStart);
  std::size_t dot = (lastDot == std::string_view::npos || lastDot < nameStart)
                        ? std::string_view::npos
                        : lastDot - nameStart;
  CopyPart(drivePart, drive, kMaxDrive);
  CopyPart(text.substr(0, nameStart), dir, kMaxDir);
  CopyPart(name.substr(0, dot), fname, kMaxFname);
  CopyPart(dot == std::string_view::npos ? std::string_view() : name.substr(dot), ext, kMaxExt);
}

}  // namespace winport
