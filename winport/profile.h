// INI profile reading as Windows does it.
#pragma once

#include "winport/win32_types.h"

// GetPrivateProfileStringA: section and key match without regard to case; a missing file,
// section or key gives the default text (blanks at its end removed, one pair of enclosing
// quotes removed); the value is cut to size-1 bytes and the result is the length copied.
// Null section or key lists the section or key names, each NUL-terminated.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);
