// Windows path text (code page 932 bytes) taken apart and made absolute the way
// GetFullPathNameA does it: the root forms "X:\", "X:rel", "\rootrel" and "\\server\share",
// '\' and '/' both as separators, "." and ".." resolved without climbing above the root. A
// second byte 0x5C of a double-byte character is part of its name, never a separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "winport/win32_types.h"

namespace winport {

struct WindowsPath {
  char drive = 0;      // 'A'-'Z' for a drive path, 0 for a share path
  std::string server;  // share paths only, as written
  std::string share;
  std::vector<std::string> names;  // the folders and file below the root
  bool trailingSeparator = false;  // the text ended with a separator after a name

  // "C:\", "C:\dir\file", "\\server\share", "\\server\share\dir": the drive letter upper
  // case, no separator at the end except at a drive root.
  std::string ToString() const;
};

// '\' or '/'.
bool IsPathSeparator(char c);

// The names between separators, scanned character by character; the empty names of doubled
// separators are dropped.
std::vector<std::string> SplitPathNames(std::string_view text);

// False for names Windows refuses: empty, control characters, < > : " / \ | ? *.
bool IsValidFileName(std::string_view name);

// text made absolute. Relative forms are resolved against currentDirectory (itself absolute;
// may be empty when none is known). "X:rel" on another drive than the current one starts at
// that drive's root, as Windows does when it has no remembered folder for that drive. Kept on
// purpose: trailing dots and blanks of the last name are dropped ("a.txt." is "a.txt").
// nullopt with a Win32 error code: ERROR_PATH_NOT_FOUND (empty text, a relative path with no
// current directory), ERROR_INVALID_NAME (a name Windows refuses, "1:\"), ERROR_BAD_PATHNAME
// (a share path without server or share).
std::optional<WindowsPath> ResolveWindowsPath(std::string_view text,
                                              std::string_view currentDirectory,
                                              DWORD* error = nullptr);

// The Windows current directory (see GetCurrentDirectoryA); nullopt when the Linux working
// folder has no Windows name.
std::optional<std::string> CurrentWindowsDirectory();

// A Windows path as the file functions take it (relative to the current directory) to the
// Linux path through the process drive map. An existing Linux name that differs from the
// Windows one only in the case of ASCII letters is found, as Windows file systems and Wine
// do. nullopt with a Win32 error code (see ResolveWindowsPath; ERROR_PATH_NOT_FOUND for an
// unmapped drive, ERROR_BAD_NETPATH for an unmapped share, ERROR_INVALID_NAME for a name with
// no UTF-8 form). resolved receives the absolute Windows path.
std::optional<std::string> WindowsPathToLinux(const char* text, DWORD* error,
                                              WindowsPath* resolved = nullptr);
// The second half of WindowsPathToLinux: an absolute path to Linux.
std::optional<std::string> MapToLinux(const WindowsPath& path, DWORD* error);

}  // namespace winport
