#include "winport/lcmap.h"

#include <cstring>
#include <string>

#include "winport/cp932.h"
#include "winport/files.h"

namespace {

// Full-width forms of 0x21-0x7E; 0 keeps the byte (0x5C).
constexpr unsigned short kAsciiFullWidth[] = {
    0x8149, 0xFA57, 0x8194, 0x8190, 0x8193, 0x8195, 0xFA56, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143,
    0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257,
    0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263,
    0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F,
    0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D, 0,
    0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288,
    0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294,
    0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,
};

// Full-width forms of the half-width katakana block 0xA1-0xDF.
constexpr unsigned short kKanaFullWidth[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// The single voiced character of half-width kana `kana` followed by `mark`, or 0 when code
// page 932 has none.
unsigned short Combined(unsigned char kana, unsigned char mark) {
  if (mark == kVoicedMark) {
    if (kana == 0xB3) return 0x8394;  // ｳﾞ ヴ
    // ｶ-ﾄ and ﾊ-ﾎ: the voiced form directly follows the plain one.
    if ((kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE)) {
      return static_cast<unsigned short>(kKanaFullWidth[kana - 0xA1] + 1);
    }
  } else if (mark == kSemiVoicedMark && kana >= 0xCA && kana <= 0xCE) {
    return static_cast<unsigned short>(kKanaFullWidth[kana - 0xA1] + 2);  // ﾊﾟ パ
  }
  return 0;
}

void AppendDouble(std::string& out, unsigned short code) {
  out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// What the system's conversion gives for malformed or unassigned double-byte text: the
// katakana middle dot, code page 932's replacement character.
constexpr unsigned short kReplacement = 0x8145;

// Position of a pair in the 188 trail bytes of its lead, counted over all leads.
int PairIndex(unsigned short code) {
  int trail = code & 0xFF;
  return (code >> 8) * 188 + (trail < 0x80 ? trail - 0x40 : trail - 0x41);
}

unsigned short PairAt(int index) {
  int trail = index % 188;
  return static_cast<unsigned short>((index / 188) << 8 |
                                     (trail < 63 ? trail + 0x40 : trail + 0x41));
}

// Characters code page 932 has twice come back from Unicode as the one form Windows prefers:
// the NEC-selected IBM extensions (ED40-EEFC) as the IBM extensions (FA40-FC4B), and the
// duplicates among the NEC row 13 and IBM symbols as their JIS X 0208 or NEC forms.
unsigned short PreferredForm(unsigned short code) {
  static const struct {
    unsigned short from, to;
  } kSingles[] = {
      {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
      {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE}, {0xEEF9, 0x81CA},
      {0xEEFA, 0xFA55}, {0xEEFB, 0xFA56}, {0xEEFC, 0xFA57}, {0xFA54, 0x81CA}, {0xFA58, 0x878A},
      {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6},
  };
  if (code >= 0xED40 && code <= 0xEEEC) {
    return PairAt(PairIndex(code) - PairIndex(0xED40) + PairIndex(0xFA5C));  // in order
  }
  if (code >= 0xEEEF && code <= 0xEEF8) return static_cast<unsigned short>(code - 0xEEEF + 0xFA40);
  if (code >= 0xFA4A && code <= 0xFA53) return static_cast<unsigned short>(code - 0xFA4A + 0x8754);
  for (const auto& single : kSingles) {
    if (single.from == code) return single.to;
  }
  return code;
}

std::string MapFullWidth(const unsigned char* src, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    unsigned char c = src[i];
    if (winport::cp932::IsLeadByte(c)) {
      // A lead byte takes any following byte but NUL with it; a lone one, or a pair the code
      // page does not have, becomes the replacement character, as the system's conversion
      // through Unicode makes it. So the result is always well-formed code page 932.
      if (i + 1 < length && src[i + 1] != 0) {
        unsigned char trail = src[++i];
        AppendDouble(out, winport::cp932::IsAssignedPair(c, trail)
                              ? PreferredForm(static_cast<unsigned short>(c << 8 | trail))
                              : kReplacement);
      } else {
        AppendDouble(out, kReplacement);
      }
    } else if (c == ' ') {
      AppendDouble(out, 0x8140);
    } else if (c > 0x20 && c < 0x7F) {
      unsigned short code = kAsciiFullWidth[c - 0x21];
      if (code == 0) {
        out += static_cast<char>(c);
      } else {
        AppendDouble(out, code);
      }
    } else if (c >= 0xA1 && c <= 0xDF) {
      unsigned short combined = i + 1 < length ? Combined(c, src[i + 1]) : 0;
      if (combined != 0) {
        AppendDouble(out, combined);
        ++i;
      } else {
        AppendDouble(out, kKanaFullWidth[c - 0xA1]);
      }
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

int LCMapStringA(LCID /*locale*/, DWORD flags, LPCSTR src, int srcLength, LPSTR dest,
                 int destSize) {
  if (src == nullptr || destSize < 0 || (destSize > 0 && dest == nullptr) || srcLength == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (flags != LCMAP_FULLWIDTH) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // Any negative length means up to and including the terminator, as the system takes it.
  std::size_t length = srcLength < 0 ? std::strlen(src) + 1 : static_cast<std::size_t>(srcLength);
  std::string mapped = MapFullWidth(reinterpret_cast<const unsigned char*>(src), length);
  if (destSize == 0) return static_cast<int>(mapped.size());
  if (mapped.size() > static_cast<std::size_t>(destSize)) {
    // Windows leaves what fitted; only whole characters are copied here.
    std::size_t fits = winport::cp932::CutLength(mapped, static_cast<std::size_t>(destSize));
    std::memcpy(dest, mapped.data(), fits);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(dest, mapped.data(), mapped.size());
  return static_cast<int>(mapped.size());
}
