// Conversion between the program's code page 932 text and UTF-8, done only at the edges a
// person or the Linux file system sees (terminal, GUI, file names), through glibc iconv.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace winport {

// Exact conversions: nullopt when the input holds a byte sequence the other side cannot
// represent. File names use these, so that two different names never map to one.
std::optional<std::string> Cp932ToUtf8Exact(std::string_view cp932);
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);

// Display conversions: a sequence that cannot be converted becomes '?', so a message can
// always be shown.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);
// UTF-16 bytes (little-endian unless bigEndian; no byte-order mark) as display text: a lone
// surrogate, an odd last byte or a character without a code page 932 form becomes '?'.
std::string Utf16ToCp932(std::string_view bytes, bool bigEndian);

}  // namespace winport
