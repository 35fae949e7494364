// The path helpers of the shell's light-weight utility library (shlwapi) that the program
// uses, with their ANSI behaviour under code page 932: '\' is the only separator, and a
// second byte 0x5C of a double-byte character (表, ソ) is never one.
#pragma once

#include "winport/win32_types.h"

// The text after the root of path: after "X:\" for a drive path, after "\\server\share\" for
// a network path (the server and share may be empty: "\\srv\\x" gives "x"). nullptr when there
// is no such root: "C:", "C:foo", "c:/x" ('/' is no separator here), "\foo", "\\server",
// "\\server\share" without the separator after the share, a relative or empty path, or a
// first byte that is a lead byte. "\\?\C:\x" is taken as server "?" and share "C:".
LPSTR PathSkipRootA(LPCSTR path);

// Cuts path (in place) down to its root by dropping its last name until the rest is a root;
// TRUE when it got there. Roots: "X:\" exactly, "\" alone, and "\\" followed by at most one
// more separator ("\\server", "\\server\", "\\server\share"). Kept quirks: "\\server\share\"
// is cut to "\\server\share"; "\foo\bar" gives "\"; "C:" and "C:foo" fail leaving "C:";
// "foo\bar" fails leaving ""; "\\?\C:\x" fails leaving "\\?\C:\".
BOOL PathStripToRootA(LPSTR path);

// FILE_ATTRIBUTE_DIRECTORY when path names an existing folder (a trailing separator is
// allowed; "C:" and "C:\" are the drive's root), else FALSE. The answer comes from
// GetFileAttributesA, so it goes through the drive map and sets the last error as that does.
// "\\server" alone is never a folder. Unlike Wine, which does not support them, a mapped share
// root "\\server\share" is a folder, as on Windows.
BOOL PathIsDirectoryA(LPCSTR path);
