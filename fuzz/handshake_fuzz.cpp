// The command-line handshake "window,message,function,path".
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/handshake.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Handshake handshake = ParseHandshake(text);
  // Present exactly when three commas were found; the path is everything after the third.
  fuzzsupport::Require(handshake.present == (std::count(text.begin(), text.end(), ',') >= 3));
  if (handshake.present) {
    std::size_t third = 0;
    for (int i = 0; i < 3; ++i) third = text.find(',', i == 0 ? 0 : third + 1);
    fuzzsupport::Require(handshake.outputPath == text.substr(third + 1));
  } else {
    fuzzsupport::Require(handshake.outputPath.empty());
  }
  return 0;
}
