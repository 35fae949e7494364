#include "winport/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace winport {
namespace {

// The converter from `from` to `to`, opened once for each thread that asks: opening one costs
// more than converting a line.
iconv_t Converter(const char* to, const char* from) {
  struct Open {
    const char* to;
    const char* from;
    iconv_t cd;
  };
  struct Cache {
    std::vector<Open> open;
    ~Cache() {
      for (const Open& o : open) {
        if (o.cd != reinterpret_cast<iconv_t>(-1)) iconv_close(o.cd);
      }
    }
  };
  thread_local Cache cache;
  for (const Open& o : cache.open) {
    if (std::string_view(o.to) == to && std::string_view(o.from) == from) return o.cd;
  }
  cache.open.push_back({to, from, iconv_open(to, from)});
  return cache.open.back().cd;
}

// One conversion through iconv. With lossy set, an input sequence that cannot be converted is
// replaced by '?' and skipped (one byte, or the whole pair when it starts with a lead byte).
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   bool lossy, std::size_t pairWidth) {
  // Both encodings keep ASCII as it is: most text (numbers, codes, CSV fields) needs no
  // converter opened for it.
  bool ascii = true;
  for (char c : in) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(in);
  iconv_t cd = Converter(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // from the initial shift state
  std::string out;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  bool failed = false;
  while (srcLeft > 0) {
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (!lossy) {
      failed = true;
      break;
    }
    // EILSEQ or EINVAL (a truncated sequence at the end): replace and resynchronise.
    std::size_t skip = 1;
    if (pairWidth == 2) {
      unsigned char b = static_cast<unsigned char>(*src);
      if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && srcLeft >= 2) skip = 2;
    } else {
      // Skip a whole malformed UTF-8 sequence: the first byte and its continuation bytes.
      while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    }
    out.push_back('?');
    src += skip;
    srcLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  if (failed) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8Exact(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, false, 2);
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, false, 1);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, true, 2).value_or(std::string());
}

std::string Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, true, 1).value_or(std::string());
}

std::string Utf16ToCp932(std::string_view bytes, bool bigEndian) {
  auto unit = [&](std::size_t i) {
    unsigned char a = static_cast<unsigned char>(bytes[i]);
    unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::string utf8;
  auto append = [&utf8](char32_t c) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t c = static_cast<char32_t>(unit(i));
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      char32_t low = static_cast<char32_t>(unit(i + 2));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        append(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    append(c >= 0xD800 && c <= 0xDFFF ? U'?' : c);
  }
  if (i < bytes.size()) utf8 += '?';
  return Utf8ToCp932(utf8);
}

}  // namespace winport
