// The command-line handshake of the accounting product: "window,message,function,path".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Handshake {
  bool present = false;     // all three commas were found
  std::int32_t window = 0;  // converted fields keep their values even when not present
  std::uint32_t message = 0;
  std::int16_t functionId = 1;  // stored in 16 bits: 40000 becomes -25536
  std::string outputPath;       // everything after the third comma; may hold commas
};

// Parses the argument text. Numbers read as atol/atoi read them (leading blanks, sign,
// digits up to the first other character, 0 when none). A comma (0x2C) is never the second
// byte of a double-byte character, so a byte search finds the separators. The path is kept
// whole at any length.
Handshake ParseHandshake(std::string_view text);
