#include "winport/crt_string.h"

#include "winport/cp932.h"

namespace winport {
namespace {

int Folded(char c) {
  int byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? byte - 'A' + 'a' : byte;
}

}  // namespace

int Stricmp(const char* a, const char* b) {
  int x = 0;
  int y = 0;
  do {
    x = Folded(*a++);
    y = Folded(*b++);
  } while (x != 0 && x == y);
  return x - y;
}

int Strnicmp(const char* a, const char* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    int x = Folded(a[i]);
    int y = Folded(b[i]);
    if (x != y || x == 0) return x - y;
  }
  return 0;
}

char* Mbsnbcpy(char* dest, const char* src, std::size_t count) {
  std::size_t i = 0;
  bool afterLead = false;  // the byte just copied opens a double-byte character
  for (; i < count && src[i] != '\0'; ++i) {
    afterLead = !afterLead && cp932::IsLeadByte(static_cast<unsigned char>(src[i]));
    dest[i] = src[i];
  }
  if (afterLead) dest[i - 1] = '\0';
  for (; i < count; ++i) dest[i] = '\0';
  return dest;
}

}  // namespace winport
