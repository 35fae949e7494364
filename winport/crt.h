// C runtime conversions with the Microsoft C runtime's (msvcrt) behaviour.
#pragma once

namespace winport {

// atoi/atol as msvcrt has them: leading white space (blank, tab, CR, LF, VT, FF) is skipped,
// then one optional '+' or '-', then decimal digits up to the first other character; no
// digits give 0. Overflow is not detected: the value wraps modulo 2^32 as the 32-bit
// accumulator does ("99999999999" gives 1215752191, "2147483648" gives -2147483648), and
// errno is left alone. long is 32 bits on Windows, so atol is the same conversion.
int Atoi(const char* text);
int Atol(const char* text);

}  // namespace winport
