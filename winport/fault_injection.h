// Making named platform calls fail, so that tests can walk the failure paths of code that
// creates folders and rewrites files (a full disk, a folder that cannot be made) without
// needing a broken machine.
//
// A call such as "CreateDirectoryA" or "WriteFile" checks for an injected fault at its top;
// when one is due it sets the injected Win32 error and fails without touching the file system.
// A started program takes its faults from WINPORT_FAIL="Call=error[@after],..." (for example
// "WriteFile=112@3": the fourth WriteFile fails with ERROR_DISK_FULL), read at the first check.
#pragma once

#include "winport/win32_types.h"

namespace winport {

// From now on `call` fails with `error` once `after` further calls have succeeded (0: the next
// call fails). The fault stays until cleared; a later injection for the same call replaces it.
void InjectCallFault(const char* call, DWORD error, int after = 0);
// Removes every injected fault.
void ClearCallFaults();
// The error `call` must fail with now, or 0. Counts the call towards `after`.
DWORD CallFaultFor(const char* call);
// How often `call` has been checked since the last ClearCallFaults (tests count the points at
// which a failure can be injected).
int CallCount(const char* call);

// Clears every injected fault for the lifetime of the guard, and again at its end.
class ScopedCallFaults {
 public:
  ScopedCallFaults() { ClearCallFaults(); }
  ~ScopedCallFaults() { ClearCallFaults(); }
  ScopedCallFaults(const ScopedCallFaults&) = delete;
  ScopedCallFaults& operator=(const ScopedCallFaults&) = delete;
};

}  // namespace winport
