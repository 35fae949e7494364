// The checks an output file path must pass before the conditions dialog may end with Execute:
// usable text, a usable drive or share, a file name, an existing folder (created on request
// with all missing folders above it), and consent before an existing file is overwritten.
// Paths are code page 932; a second byte 0x5C of a double-byte character is never a '\'.
#pragma once

#include <string>

#include "winport/win32_types.h"

enum class OutputCheckResult {
  Accept,  // the dialog ends with Execute (1005)
  Stay,    // the dialog stays open; the caller selects the whole output field and focuses it
};

// The character rule: false for a doubled separator (in a network path "\\server\..." only
// one from the fourth character on), or for any of / : , ; * ? " > < | in the examined part:
// a network path without its leading "\\", a drive path after its first ':' (the whole text
// when it has none).
bool HasUsableCharacters(const std::string& path);

// The drive rule. A network path passes when its share root ("\\server\share", the text
// before the separator that ends the share) is readable and writable (_access mode 6); a
// server alone, or a share without a separator after it, fails. Any other path fails with a
// doubled separator or a first character that is no letter A-Z/a-z; otherwise that letter's
// drive type decides: CD-ROM, RAM disk and an unknown type fail; removable, fixed and remote
// drives pass when their root is readable and writable; a letter without a root directory
// (unmapped) and any other type pass.
bool HasUsableDriveOrShare(const std::string& path);

// Runs the checks on the text of the output field, in order, with message boxes owned by
// `owner`: empty text, characters, drive or share, file name, missing folder (Yes creates the
// chain; a failed creation is rolled back), then, unless pathFixed (an output path fixed by
// the caller, overwritten without asking), an existing folder of that name or an existing file
// (Yes overwrites). Stay after any refusal or a No.
OutputCheckResult CheckOutputDestination(HWND owner, const std::string& outputPath, bool pathFixed);
