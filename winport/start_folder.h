// The Linux working folder the process started in. Paths a caller hands over in the
// environment (WINPORT_WINDOW_DIR, WINPORT_UI=script:PATH, WINPORT_UI_RECORD) count from
// there, as they did for the caller, not from wherever the program has moved since (it makes
// its own folder the current directory at start-up).
#pragma once

#include <string>

namespace winport {

// `path` when it is absolute or empty, else `path` below the folder the process started in
// (as it is when that folder could not be read).
std::string FromStartFolder(const std::string& path);

}  // namespace winport
