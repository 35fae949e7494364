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
//   directory; a name with a folder in it counts from the current directory; nullptr or ""
//   means "win.ini". A missing file reads as empty and sets ERROR_FILE_NOT_FOUND.
// - Lines end at CR or LF; blanks (and Ctrl-Z) around names and values are trimmed, also
//   around the section and key asked for. "[name]" runs to the last ']' of the line; a line
//   without ']' is a key line. Lines before the first section answer only to section "".
// - Only the first of sections with equal names is read; the first of duplicate keys wins.
// - "k=" is an empty value (result 0, not the default); a line "k" without '=' reads as
//   missing. No inline comments: "5 ; note" is the value. A line ";x=1" is a key named ";x"
//   that can be read but is never listed.
// - One pair of enclosing quotes, " or ', is removed from values and the default ("'a'" is a,
//   "\"abc" stays). The default loses its trailing blanks only, nullptr is "".
// - Cutting: at most size-1 bytes, never inside a double-byte character (Windows/Wine may
//   leave half a character or garbage there: this port gives the shorter text). Lists: when
//   they do not fit, the last name is cut and the list still ends with two NULs; the result
//   is then size-2 (less when that would split a character); otherwise the result counts
//   every name with its NUL but not the list's final NUL. A section without listable keys
//   gives the default text instead of a list.
// - A file that starts with a UTF-8 byte-order mark is read as UTF-8 and converted.
// buffer nullptr or size 0: returns 0 and writes nothing.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                               DWORD size, LPCSTR fileName);
// GetPrivateProfileIntA: the value read as above through a 30-byte buffer; an empty or missing
// value gives defaultValue. Otherwise as the system's integer conversion with base 0: leading
// blanks and control bytes skipped, one '+' or '-', then "0x" hex, "0o" octal, "0b" binary or
// decimal digits up to the first other character ("2x" is 2, "a b" is 0, "-5" is -5 as a UINT,
// "0x1A" is 26); no overflow check, the value wraps modulo 2^32.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);
