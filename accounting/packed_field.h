// Fields of the business core's byte-packed records are not aligned: read and write them by
// copying bytes, never through a typed pointer (which would be undefined on such addresses).
#pragma once

#include <cstddef>
#include <cstring>

template <typename T>
T ReadPacked(const void* record, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

template <typename T>
void WritePacked(void* record, std::size_t offset, T value) {
  std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof value);
}
