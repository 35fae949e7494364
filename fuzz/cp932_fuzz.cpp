// The code page 932 helpers and the full-width mapping: each answer agrees with the others,
// cuts never split a character, and the mapping always gives well-formed code page 932.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "report/full_width.h"
#include "winport/cp932.h"
#include "winport/crt_string.h"
#include "winport/encoding.h"
#include "winport/files.h"
#include "winport/lcmap.h"

namespace cp932 = winport::cp932;
using fuzzsupport::Require;

namespace {

bool WellFormed(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!cp932::IsLeadByte(c)) continue;
    if (i + 1 >= text.size() || !cp932::IsAssignedPair(c, static_cast<unsigned char>(text[i + 1])))
      return false;
    ++i;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t n = size > 0 ? data[0] % (size + 1) : 0;
  const unsigned char c = size > 1 ? data[1] : '\\';

  // Each question walks from the start, so asking it at every position of a long input would
  // take most of the harness's time: the first positions, the last ones and the cut point.
  auto checkPosition = [&](std::size_t k) {
    if (k < size && cp932::IsTrailPosition(text, k)) Require(cp932::IsInDoubleByte(text, k));
  };
  for (std::size_t k = 0; k < 64; ++k) checkPosition(k);
  for (std::size_t k = size > 8 ? size - 8 : 0; k < size; ++k) checkPosition(k);
  checkPosition(n);
  std::size_t cut = cp932::CutLength(text, n);
  Require(cut <= n && (cut == size || !cp932::IsTrailPosition(text, cut)));
  std::size_t first = cp932::FindChar(text, c), last = cp932::FindLastChar(text, c);
  Require((first == std::string::npos) == (last == std::string::npos));
  if (first != std::string::npos) {
    Require(first <= last && static_cast<unsigned char>(text[first]) == c &&
            static_cast<unsigned char>(text[last]) == c);
    Require(!cp932::IsInDoubleByte(text, first) && !cp932::IsInDoubleByte(text, last));
  }
  Require(cp932::EndsWithBackslash(text) ==
          (size > 0 && cp932::FindLastChar(text, '\\') == size - 1));

  // The full-width mapping: a size query, an exact buffer, and one too small by n bytes.
  for (int length : {static_cast<int>(size), -1}) {
    if (length == 0) continue;
    int needed =
        LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.c_str(), length, nullptr, 0);
    Require(needed > 0);
    auto exact = std::make_unique<char[]>(static_cast<std::size_t>(needed));
    Require(LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.c_str(), length, exact.get(),
                         needed) == needed);
    Require(WellFormed(std::string_view(exact.get(), static_cast<std::size_t>(needed))));
    int smaller = needed - 1 - static_cast<int>(n % static_cast<std::size_t>(needed));
    if (smaller > 0) {
      auto little = std::make_unique<char[]>(static_cast<std::size_t>(smaller));
      Require(LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.c_str(), length,
                           little.get(), smaller) == 0 &&
              GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    }
  }
  const std::string replaced = cp932::ReplaceMalformed(text);
  Require(WellFormed(replaced) && cp932::ReplaceMalformed(replaced) == replaced);
  if (WellFormed(text) && text.find_first_of("\x80\xA0\xFD\xFE\xFF") == std::string::npos) {
    Require(replaced == text);
  }
  std::string name = ToFullWidth(text);
  Require(name.size() <= kFullWidthNameLimit && WellFormed(name));

  // The C runtime's byte-count copy never leaves half a character.
  const std::string cstring = text.substr(0, text.find('\0'));
  auto copy = std::make_unique<char[]>(n + 1);
  winport::Mbsnbcpy(copy.get(), cstring.c_str(), n);
  std::size_t copied = strnlen(copy.get(), n);
  Require(cstring.compare(0, copied, copy.get(), copied) == 0);
  Require(copied == 0 || copied >= cstring.size() || !cp932::IsInDoubleByte(cstring, copied - 1) ||
          cp932::IsTrailPosition(cstring, copied - 1));
  winport::Stricmp(cstring.c_str(), copy.get());

  // Conversions at the edges.
  winport::Cp932ToUtf8(text);
  winport::Utf8ToCp932(text);
  winport::Utf16ToCp932(text, (n & 1) != 0);
  if (std::optional<std::string> utf8 = winport::Cp932ToUtf8Exact(text)) {
    Require(winport::Utf8ToCp932Exact(*utf8).has_value());
  }
  return 0;
}
