// LCMapStringA with LCMAP_FULLWIDTH as it behaves under the Japanese system locale (code page
// 932): half-width characters become their full-width double-byte forms.
#pragma once

#include "winport/win32_types.h"

using LCID = DWORD;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr DWORD LCMAP_FULLWIDTH = 0x00800000;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;

// Maps srcLength bytes of src (any negative length: up to and including its terminator, which
// is then mapped and counted too) into dest of destSize bytes. Returns the bytes written, or
// with destSize 0 the bytes needed; 0 with GetLastError ERROR_INSUFFICIENT_BUFFER when dest is
// too small, ERROR_INVALID_FLAGS for any flag other than LCMAP_FULLWIDTH,
// ERROR_INVALID_PARAMETER for a missing src, a source length of 0 or a negative destSize.
// Every locale behaves as the Japanese one.
//
// The mapping, kept on purpose as Windows has it (the text goes through Unicode and back):
// - blank to the ideographic space 0x8140; the other printable ASCII characters to their
//   full-width forms (" 0xFA57, ' 0xFA56, ~ 0x8160), except 0x5C, which stays as it is;
// - half-width katakana and punctuation 0xA1-0xDF to full-width katakana; a kana followed by
//   the voiced or semi-voiced mark (0xDE, 0xDF) becomes one voiced character (ｶﾞ ガ, ﾊﾟ パ,
//   ｳﾞ ヴ) when code page 932 has it;
// - a lead byte takes any following byte but NUL as its second byte. A lone lead byte (at the
//   end, or before a NUL, which stays), or a pair code page 932 does not have (0x85 0x40, a
//   lead byte before a blank or a line feed), becomes the replacement character ・ 0x8145, so
//   the result is always well-formed code page 932;
// - characters the code page has twice come back in the form Windows prefers: the
//   NEC-selected IBM extensions 0xED40-0xEEFC as the IBM extensions 0xFA40-0xFC4B (0xEEF9 ¬ as
//   0x81CA), the NEC row 13 duplicates of JIS symbols (0x8790 ≒ as 0x81E0) and the IBM ones of
//   NEC characters (0xFA4A Ⅰ as 0x8754);
// - other double-byte characters (the user-defined area 0xF040-0xF9FC too), control
//   characters and the single bytes 0x80, 0xA0, 0xFD-0xFF unchanged.
// Deliberate differences from the oracle (Wine), which gives '?': where Windows has no
// character for a combination (ﾜﾞ, ｱﾞ) or meets a lone mark, the kana and the full-width mark
// (゛ 0x814A, ゜ 0x814B) are written separately, and those two full-width marks stay as they
// are, so nothing is lost.
int LCMapStringA(LCID locale, DWORD flags, LPCSTR src, int srcLength, LPSTR dest, int destSize);
