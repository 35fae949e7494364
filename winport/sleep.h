// Waiting on the calling thread, as Win32 has it.
#pragma once

#include "winport/win32_types.h"

// Suspends the calling thread for at least the given number of milliseconds; 0 gives up the
// rest of the time slice.
void Sleep(DWORD milliseconds);
