#include "winport/cp932.h"

namespace winport::cp932 {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

namespace {

// The assigned pairs of code page 932: for leads lead..leadLast, the trail bytes
// trailFirst..trailLast (0x7F never is one). Taken from the Japanese system's conversion table.
struct PairRange {
  unsigned char lead, leadLast, trailFirst, trailLast;
};
constexpr PairRange kAssigned[] = {
    {0x81, 0x81, 0x40, 0xAC}, {0x81, 0x81, 0xB8, 0xBF}, {0x81, 0x81, 0xC8, 0xCE},
    {0x81, 0x81, 0xDA, 0xE8}, {0x81, 0x81, 0xF0, 0xF7}, {0x81, 0x81, 0xFC, 0xFC},
    {0x82, 0x82, 0x4F, 0x58}, {0x82, 0x82, 0x60, 0x79}, {0x82, 0x82, 0x81, 0x9A},
    {0x82, 0x82, 0x9F, 0xF1}, {0x83, 0x83, 0x40, 0x96}, {0x83, 0x83, 0x9F, 0xB6},
    {0x83, 0x83, 0xBF, 0xD6}, {0x84, 0x84, 0x40, 0x60}, {0x84, 0x84, 0x70, 0x91},
    {0x84, 0x84, 0x9F, 0xBE}, {0x87, 0x87, 0x40, 0x5D}, {0x87, 0x87, 0x5F, 0x75},
    {0x87, 0x87, 0x7E, 0x9C}, {0x88, 0x88, 0x9F, 0xFC}, {0x89, 0x97, 0x40, 0xFC},
    {0x98, 0x98, 0x40, 0x72}, {0x98, 0x98, 0x9F, 0xFC}, {0x99, 0x9F, 0x40, 0xFC},
    {0xE0, 0xE9, 0x40, 0xFC}, {0xEA, 0xEA, 0x40, 0xA4}, {0xED, 0xED, 0x40, 0xFC},
    {0xEE, 0xEE, 0x40, 0xEC}, {0xEE, 0xEE, 0xEF, 0xFC}, {0xF0, 0xFB, 0x40, 0xFC},
    {0xFC, 0xFC, 0x40, 0x4B},
};

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

bool IsAssignedPair(unsigned char lead, unsigned char trail) {
  if (!IsTrailByte(trail)) return false;
  for (const PairRange& range : kAssigned) {
    if (lead >= range.lead && lead <= range.leadLast && trail >= range.trailFirst &&
        trail <= range.trailLast) {
      return true;
    }
  }
  return false;
}

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

std::string ReplaceMalformed(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = CharLength(text, i);
    const bool character = length == 2 ? IsAssignedPair(c, static_cast<unsigned char>(text[i + 1]))
                                       : !IsLeadByte(c) && c != 0x80 && c != 0xA0 && c < 0xFD;
    if (character) {
      out.append(text.substr(i, length));
    } else {
      out += "\x81\x45";
    }
    i += length;
  }
  return out;
}

}  // namespace winport::cp932

BOOL IsDBCSLeadByte(BYTE byte) { return winport::cp932::IsLeadByte(byte) ? TRUE : FALSE; }
