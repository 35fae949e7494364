// LCMapStringA with LCMAP_FULLWIDTH as it behaves under the Japanese system locale (code page
// 932): half-width characters become their full-width double-byte forms.
#pragma once

#include "winport/win32_types.h"

using LCID = DWORD;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr DWORD LCMAP_FULLWIDTH = 0x00800000;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;

// Maps srcLength bytes of src (-1: up to and including its terminator, which is then mapped
// and counted too) into dest of destSize bytes. Returns the bytes written, or with destSize 0
// the bytes needed; 0 with GetLastError ERROR_INSUFFICIENT_BUFFER when dest is too small,
// ERROR_INVALID_FLAGS for any flag other than LCMAP_FULLWIDTH, ERROR_INVALID_PARAMETER for a
// missing src or a negative size. Every locale behaves as the Japanese one.
//
// The mapping, kept on purpose as Windows has it:
// - blank to the ideographic space 0x8140; the other printable ASCII characters to their
//   full-width forms (" 0xFA57, ' 0xFA56, ~ 0x8160), except 0x5C, which stays as it is;
// - half-width katakana and punctuation 0xA1-0xDF to full-width katakana; a kana followed by
//   the voiced or semi-voiced mark (0xDE, 0xDF) becomes one voiced character (ｶﾞ ガ, ﾊﾟ パ,
//   ｳﾞ ヴ) when code page 932 has it;
// - double-byte characters, control characters and other bytes unchanged.
// Where Windows has no character for a combination (ﾜﾞ, ｱﾞ) or meets a lone mark, the kana and
// the full-width mark (゛ 0x814A, ゜ 0x814B) are written separately, so nothing is lost.
int LCMapStringA(LCID locale, DWORD flags, LPCSTR src, int srcLength, LPSTR dest, int destSize);
