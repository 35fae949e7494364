// The tax-return application's program level, declared in "QuillonDef.ini" in the program
// folder (the current directory), must be the one this program was built for.
#pragma once

#include "winport/win32_types.h"

// Status of the definition file: 0 usable, -1 missing file or empty level, 1 level too low
// (the tax-return application is older), 2 level too high (this program is older).
int EnvironmentStatus();

// 1 when the environment is usable, else 0; with showMessages a refusal first shows its
// message through the link session, owned by `owner`. Without `inProgramFolder` (the program
// folder could not be made the current directory) the definition file counts as missing.
int CheckEnvironment(HWND owner, bool showMessages, bool inProgramFolder = true);
