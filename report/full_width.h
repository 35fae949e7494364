// The company name as the linkage file carries it (BASIC/KOMONSAKINAME).
#pragma once

#include <string>
#include <string_view>

// The name mapped to full-width characters as the Japanese system maps them
// (LCMapStringA, LCMAP_FULLWIDTH), then cut to at most 32 bytes without splitting a
// double-byte character.
std::string ToFullWidth(std::string_view name);

constexpr std::size_t kFullWidthNameLimit = 32;
