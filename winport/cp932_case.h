// Case folding of code page 932 text the way the Windows "ignore case" comparisons of file,
// share, section and key names need it: only the ASCII letters fold, and the second byte of a
// double-byte character (which may look like 'a'-'z') is never touched.
#pragma once

#include <string>
#include <string_view>

namespace winport::cp932 {

// text with its single-byte a-z made upper case.
std::string ToUpperAscii(std::string_view text);

// a and b equal when single-byte letters are compared without regard to case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace winport::cp932
