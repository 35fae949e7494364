#include "winport/crt.h"

#include <cstdint>

namespace winport {

int Atoi(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  std::uint32_t value = 0;  // unsigned: the wrap-around is defined and matches msvcrt
  while (*p >= '0' && *p <= '9') value = value * 10u + static_cast<std::uint32_t>(*p++ - '0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

int Atol(const char* text) { return Atoi(text); }

}  // namespace winport
