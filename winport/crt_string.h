// Byte-string functions of the Microsoft C runtime (msvcrt) as the program uses them: in the
// "C" locale (the program never calls setlocale) and with multibyte code page 932.
#pragma once

#include <cstddef>

namespace winport {

// _stricmp and _strnicmp: compare byte by byte with only 'A'-'Z' folded to 'a'-'z'; the
// result is the difference of the first differing folded bytes taken as unsigned (so "a" <
// "_" although "A" > "_"), 0 when equal. Bytes 0x80 and above are compared as they are. Kept
// quirk: these are not multibyte functions, so a second byte in 'A'-'Z' is folded too
// ("\x83\x41" ア equals "\x83\x61" ヂ), as msvcrt does. Strnicmp looks at most at count bytes
// and stops at the end of either text; count 0 gives 0.
int Stricmp(const char* a, const char* b);
int Strnicmp(const char* a, const char* b, std::size_t count);

// _mbsnbcpy: copies count bytes of src to dest, never half a character: when the count ends
// after the first byte of a double-byte character (or src ends after a lone lead byte), that
// byte is replaced by NUL. When src is shorter than count, dest is padded with NULs up to
// count bytes; otherwise dest is NOT terminated, as with strncpy. Returns dest.
char* Mbsnbcpy(char* dest, const char* src, std::size_t count);

}  // namespace winport
