// The per-user folder that holds the registered windows: one datagram socket per window, named
// by its handle in decimal. Only this user may enter the folder, so only this user's processes
// can send to its windows; a folder anyone else could reach is refused, never repaired.
#pragma once

#include <cstdint>
#include <string>

namespace winport {

// $WINPORT_WINDOW_DIR when set and not empty (a relative one counts from the Linux working
// folder the process started in, whatever the current directory is now); else
// $XDG_RUNTIME_DIR/winport when
// XDG_RUNTIME_DIR is an absolute path; else /tmp/winport-<uid>.
std::string WindowFolder();

// Empty when `folder` can be trusted: a directory (not a symbolic link) owned by this user,
// with no permission bits for group or others. Otherwise a one-line reason.
std::string CheckWindowFolder(const std::string& folder);

// Creates `folder` with mode 0700 when it is missing (its parent must exist), then checks it as
// CheckWindowFolder does.
std::string PrepareWindowFolder(const std::string& folder);

// The socket file of window `handle` in `folder`, and the file that marks it disabled.
std::string WindowSocketPath(const std::string& folder, std::int64_t handle);
std::string WindowDisabledPath(const std::string& folder, std::int64_t handle);

}  // namespace winport
