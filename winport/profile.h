// INI profile reading as Windows does it.
#pragma once

#include "winport/win32_types.h"

// GetPrivateProfileStringA: section and key match without regard to case; a missing file,
// section or key gives the default text (blanks at its end removed, one pair of enclosing
// quotes removed); the value is cut to size-1 bytes and the result is the length copied.
// Null section or key lists the section or key names, each NUL-terminated.
// Kept quirks, as Windows (checked against Wine with code page 932):
// - The file: a bare name ("x.ini") is looked for in the Windows folder (WINPORT_WINDIR, a
//   Windows path or a Linux one starting with '/'; default "C:\windows"), never in the current
//   directory; a name with a folder in it counts from the current directory; nullptr means
//   "win.ini". A file that cannot be read reads as empty and sets the error: a missing file
//   ERROR_FILE_NOT_FOUND, a missing folder ERROR_PATH_NOT_FOUND, a folder or an empty name ""
//   ERROR_ACCESS_DENIED. Success leaves the error alone.
// - Lines end at CR or LF; blanks (and Ctrl-Z) around names and values are trimmed, also
//   around the section and key asked for. "[name]" runs to the last ']' of the line, and the
//   blanks inside the brackets are not part of it ("[ Name ]" is Name); a line without ']' is
//   a key line. The section name "" means the lines before the first section; a section
//   headed "[]" is never found and never listed.
// - Only the first of sections with equal names is read; the first line of a key decides.
// - "k=" is an empty value (result 0, not the default); a line "k" without '=' reads as
//   missing, also when a line "k=1" follows it. No inline comments: "5 ; note" is the value.
//   A line ";x=1" is a key named ";x" that can be read but is never listed. "=v" is a key
//   with an empty name.
// - One pair of enclosing quotes, " or ', is removed from values and the default ("'a'" is a,
//   "\"abc" stays). The default loses its trailing blanks only, nullptr is "".
// - Lists: section names, or the keys of a section that have a value (not lines without '=',
//   not ';' lines); a key with an empty name is listed as an empty name, so a list that
//   starts with one reads as empty and, like a section without such keys, gives the default
//   text instead. Equal names are listed each time they occur.
// - Cutting: at most size-1 bytes, never inside a double-byte character (Windows/Wine may
//   leave half a character or garbage there: this port gives the shorter text). Lists: when
//   they do not fit with a byte to spare (a list that with its final NUL exactly fills the
//   buffer counts as not fitting), the last name is cut and the list still ends with two
//   NULs; the result is then size-2 (less when that would split a character); otherwise the
//   result counts every name with its NUL but not the list's final NUL.
// - A file that starts with a UTF-8 or UTF-16 (either byte order) byte-order mark is read in
//   that encoding and converted; characters without a code page 932 form become '?'.
// Deliberate difference: anything but a regular file (a named pipe, a device) reads as a
// missing file with ERROR_ACCESS_DENIED, and is never opened for a blocking read.
// buffer nullptr or size 0: returns 0 and writes nothing.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR fileName);
// GetPrivateProfileIntA: the value read as above through a 30-byte buffer; an empty or missing
// value gives defaultValue. Otherwise as the system's integer conversion with base 0: leading
// blanks and control bytes skipped, one '+' or '-', then "0x" hex, "0o" octal, "0b" binary or
// decimal digits up to the first other character ("2x" is 2, "a b" is 0, "-5" is -5 as a UINT,
// "0x1A" is 26); no overflow check, the value wraps modulo 2^32.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);
