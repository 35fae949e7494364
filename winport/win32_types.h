// Win32 base types as the program sees them on its original 32/64-bit Windows build.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = unsigned char;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONGLONG = std::uint64_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using LPSTR = char*;
using LPCSTR = const char*;

// A window handle is an opaque number, exactly as in Win32: the caller's window arrives as a
// decimal number on the command line and is only ever handed back to the platform.
struct HWND__;
using HWND = HWND__*;

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr int MAX_PATH = 260;

inline HWND HwndFromNumber(long value) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value));
}
inline std::intptr_t HwndToNumber(HWND hwnd) { return reinterpret_cast<std::intptr_t>(hwnd); }
