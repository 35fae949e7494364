// Code page 932 (Shift_JIS as Windows has it): which bytes start and end a double-byte
// character, and the character-aware text helpers the program needs so that a second byte
// 0x5C is never taken for a backslash and a cut never splits a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "winport/win32_types.h"

namespace winport::cp932 {

// Lead bytes 0x81-0x9F and 0xE0-0xFC, as IsDBCSLeadByteEx(932) reports them.
bool IsLeadByte(unsigned char byte);
// Bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
bool IsTrailByte(unsigned char byte);

// Whether the pair lead, trail is a character of code page 932 as Windows has it (JIS X 0208,
// the NEC and IBM extensions, the user-defined area F040-F9FC); unassigned pairs such as
// 0x85 0x40 or 0xEF 0x40 are not.
bool IsAssignedPair(unsigned char lead, unsigned char trail);

// Scanning from the start, does byte position k belong to a double-byte character (as its
// first or second byte)? A lead byte followed by the end of text or by a NUL is a lone byte,
// not a pair (the NUL stands alone too), as in the Windows multibyte functions.
bool IsInDoubleByte(std::string_view text, std::size_t k);
// Scanning from the start, is byte position k the second byte of a double-byte character?
bool IsTrailPosition(std::string_view text, std::size_t k);

// True when the last character of text is a real backslash, not the second byte of a
// double-byte character such as the katakana so (0x83 0x5C).
bool EndsWithBackslash(std::string_view text);

// Position of the first or last character equal to byte c, scanning character by character
// (as _mbschr/_mbsrchr after _setmbcp(932)); npos when none.
std::size_t FindChar(std::string_view text, unsigned char c);
std::size_t FindLastChar(std::string_view text, unsigned char c);

// The longest prefix length <= n that does not end inside a double-byte character.
std::size_t CutLength(std::string_view text, std::size_t n);

// The text with everything that is no character of code page 932 replaced by the katakana
// middle dot (0x81 0x45), the replacement the system's conversions use: a lone lead byte, a
// pair the code page does not have (a lead byte takes the next byte with it, as above), and the
// unassigned single bytes 0x80, 0xA0 and 0xFD-0xFF. Well-formed text comes back unchanged.
std::string ReplaceMalformed(std::string_view text);

}  // namespace winport::cp932

// The Win32 spelling, for code that reads like its original.
BOOL IsDBCSLeadByte(BYTE byte);
