#include "winport/cp932.h"

namespace winport::cp932 {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

namespace {

// Length of the character starting at i: 2 for a lead byte that has a following byte, else 1.
// Like the Windows multibyte functions, any following non-NUL byte is taken as the trail.
std::size_t CharLength(std::string_view text, std::size_t i) {
  if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
      text[i + 1] != '\0') {
    return 2;
  }
  return 1;
}

}  // namespace

bool IsInDoubleByte(std::string_view text, std::size_t k) {
  for (std::size_t i = 0; i < text.size() && i <= k;) {
    std::size_t len = CharLength(text, i);
    if (k < i + len) return len == 2;
    i += len;
  }
  return false;
}

bool IsTrailPosition(std::string_view text, std::size_t k) {
  for (std::size_t i = 0; i < text.size() && i <= k;) {
    std::size_t len = CharLength(text, i);
    if (k < i + len) return len == 2 && k == i + 1;
    i += len;
  }
  return false;
}

bool EndsWithBackslash(std::string_view text) {
  return FindLastChar(text, '\\') == text.size() - 1 && !text.empty();
}

std::size_t FindChar(std::string_view text, unsigned char c) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = CharLength(text, i);
    if (len == 1 && static_cast<unsigned char>(text[i]) == c) return i;
    i += len;
  }
  return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, unsigned char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = CharLength(text, i);
    if (len == 1 && static_cast<unsigned char>(text[i]) == c) found = i;
    i += len;
  }
  return found;
}

std::size_t CutLength(std::string_view text, std::size_t n) {
  if (n >= text.size()) return text.size();
  std::size_t i = 0;
  while (i < n) {
    std::size_t len = CharLength(text, i);
    if (i + len > n) break;
    i += len;
  }
  return i;
}

}  // namespace winport::cp932

BOOL IsDBCSLeadByte(BYTE byte) { return winport::cp932::IsLeadByte(byte) ? TRUE : FALSE; }
