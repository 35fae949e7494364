// Win32 file and folder functions over the drive map: Windows paths in, Linux files out.
// Relative paths are resolved against the Windows current directory; '/' is a separator as
// well as '\', a second byte 0x5C of a double-byte character never is. Names match existing
// Linux names without regard to the case of ASCII letters, as on Windows. Failures set the
// Win32 error (GetLastError): ERROR_PATH_NOT_FOUND for an unmapped drive, ERROR_BAD_NETPATH
// for an unmapped share, ERROR_INVALID_NAME for a name Windows refuses.
#pragma once

#include "winport/last_error.h"
#include "winport/win32_types.h"

// CreateFileA access, share and disposition values the program uses.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
// MoveFileExA flags the program uses.
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

// Opens or creates a file. access: GENERIC_READ and/or GENERIC_WRITE (0: no data access).
// disposition as Win32; CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with
// ERROR_ALREADY_EXISTS, otherwise success sets ERROR_SUCCESS; CREATE_NEW on an existing file
// fails with ERROR_FILE_EXISTS; TRUNCATE_EXISTING needs GENERIC_WRITE. Share modes are honoured
// exactly between the handles of this process (ERROR_SHARING_VIOLATION, checked before any
// truncation); against other processes only share mode 0 is enforced, through a non-blocking
// flock: LOCK_EX for share mode 0, LOCK_SH otherwise, so that other winport processes (and
// anything else that uses flock) are refused while a file is held without sharing.
// Kept quirks: a file without any write permission bit is read-only and refuses GENERIC_WRITE
// and CREATE_ALWAYS even to root (ERROR_ACCESS_DENIED); a folder gives ERROR_ACCESS_DENIED; a
// name ending in a separator gives ERROR_INVALID_NAME; a path of MAX_PATH bytes or more gives
// ERROR_FILENAME_EXCED_RANGE; trailing dots and blanks of the name are dropped. flags: only
// FILE_ATTRIBUTE_READONLY counts (a new file gets mode 0444); security and template ignored.
// Unlike Windows, which has no such files, anything but a regular file (a named pipe, a
// device) is refused with ERROR_ACCESS_DENIED, and opening never waits for a pipe's other end.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
// Writes all of data (retrying short writes). A full disk fails with ERROR_DISK_FULL and
// *written holds what did get written. A handle without GENERIC_WRITE: ERROR_ACCESS_DENIED.
// overlapped must be nullptr (ERROR_INVALID_PARAMETER otherwise).
BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
// Reads up to size bytes; at the end of the file it succeeds with *read below size (0 at
// the very end), as Windows does. A handle without GENERIC_READ: ERROR_ACCESS_DENIED.
BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read, void* overlapped);
// The low 32 bits of the size, the high ones in *high when given. Kept quirk: a size whose low
// part is 0xFFFFFFFF looks like INVALID_FILE_SIZE; success sets ERROR_SUCCESS to tell them apart.
DWORD GetFileSize(HANDLE file, DWORD* high);
// Writes the file's data through to the disk (fsync), and its folder, so that a new file's
// name is as durable as its data, as on Windows. A handle without GENERIC_WRITE:
// ERROR_ACCESS_DENIED, as on Windows.
BOOL FlushFileBuffers(HANDLE file);
// Closes a handle from CreateFileA (releasing its lock); anything else: ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE handle);
// Removes a file. Kept quirks: a folder or a read-only file (no write bit) gives
// ERROR_ACCESS_DENIED; a file open in this process without FILE_SHARE_DELETE, or held without
// sharing by another winport process, gives ERROR_SHARING_VIOLATION. Unlike Windows, a file
// open with FILE_SHARE_DELETE disappears from its folder at once.
BOOL DeleteFileA(LPCSTR path);

// Renames a file or folder. With MOVEFILE_REPLACE_EXISTING an existing file of the new name
// is replaced in one step (rename(2)): a reader sees the old file or the new one, never a mix
// or none. Without it an existing target gives ERROR_ALREADY_EXISTS. MOVEFILE_WRITE_THROUGH
// also makes the rename itself durable (fsync of the target's folder) before returning.
// Kept quirks: a target that is a folder or read-only, or that is open in this process
// without FILE_SHARE_DELETE or held without sharing by another winport process, gives
// ERROR_ACCESS_DENIED; a source open like that gives ERROR_SHARING_VIOLATION; another file
// system gives ERROR_NOT_SAME_DEVICE (no copying). Other flags (copying, delaying until
// reboot) are not supported: ERROR_INVALID_PARAMETER, as is a missing new name.
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);

// Creates one folder (its parent must exist: else ERROR_PATH_NOT_FOUND). An existing file or
// folder of that name gives ERROR_ALREADY_EXISTS, a drive root ERROR_ACCESS_DENIED. Kept
// quirk: a full path longer than 248 bytes (MAX_PATH - 12) gives ERROR_FILENAME_EXCED_RANGE.
BOOL CreateDirectoryA(LPCSTR path, void* security);
// Removes an empty folder: ERROR_DIR_NOT_EMPTY when it is not, ERROR_DIRECTORY for a file.
// Kept quirks: the process's current directory is in use and cannot be removed
// (ERROR_SHARING_VIOLATION, also when it is a drive root); another drive or share root is not
// empty (ERROR_DIR_NOT_EMPTY); nullptr, "" or blanks only give ERROR_INVALID_NAME. An empty
// drive root is never removed either (ERROR_ACCESS_DENIED).
BOOL RemoveDirectoryA(LPCSTR path);
// FILE_ATTRIBUTE_DIRECTORY for a folder (also a drive or share root); FILE_ATTRIBUTE_ARCHIVE
// for a file, with FILE_ATTRIBUTE_READONLY when it has no write bit, as Wine reports them.
// Missing: INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND when a
// folder on the way is missing. A file named with a separator after it ("a.txt\") is not
// found, with ERROR_PATH_NOT_FOUND ("a.txt\." is the file).
DWORD GetFileAttributesA(LPCSTR path);

// A point in time as Windows keeps it: 100-nanosecond steps since 1601-01-01 UTC.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };
struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  // The Linux status change time: not every file system keeps a birth time.
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
};
// Attributes as GetFileAttributesA, with the size (0 for a folder) and the times; info is a
// WIN32_FILE_ATTRIBUTE_DATA. Another level: ERROR_INVALID_PARAMETER. Errors as
// GetFileAttributesA.
BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, void* info);

// The drive type of a root: "C:", "C:\" and even "C:\windows" give C's configured type (only
// the letter counts); an unmapped letter, a non-letter, "" and relative names give
// DRIVE_NO_ROOT_DIR; "\\server\share\" gives DRIVE_REMOTE when mapped, else
// DRIVE_NO_ROOT_DIR; nullptr and "\" mean the current directory's drive. In the device
// namespace "\\.\C:\" is drive C and "\\.\C:" (the volume device) DRIVE_UNKNOWN; no other
// devices exist (DRIVE_NO_ROOT_DIR). Whether the root folder exists is not checked (a
// removable drive without medium keeps its type).
UINT GetDriveTypeA(LPCSTR rootPath);
// The Windows current directory: no backslash at the end except at a drive root ("C:\",
// "C:\dir", "\\server\share"). It reads back as SetCurrentDirectoryA set it while the Linux
// working folder is still that folder; otherwise the Linux working folder is mapped back.
// Returns the length; when size is too small, the size needed including the NUL, and the
// buffer is left untouched (0 and ERROR_PATH_NOT_FOUND when there is no Windows name).
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
// Changes the Windows current directory (and the Linux working folder). Relative forms,
// "X:rel" and "\rootrel" count from the current one. Missing: ERROR_FILE_NOT_FOUND (or
// ERROR_PATH_NOT_FOUND); a file: ERROR_DIRECTORY; a result that would not fit MAX_PATH with
// its final backslash: ERROR_FILENAME_EXCED_RANGE.
BOOL SetCurrentDirectoryA(LPCSTR path);
// The program's own file (/proc/self/exe mapped to Windows: through a drive, else through a
// share, "\\server\share\dir\prog", when only a share reaches it); module must be nullptr
// (ERROR_MOD_NOT_FOUND otherwise). Returns the length. Kept quirk (Windows Vista and later):
// when size is too small the name is cut to size-1 bytes (never inside a double-byte
// character), NUL-terminated, and the result is size itself with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(void* module, LPSTR buffer, DWORD size);
// The temporary folder, always ending with a backslash: the first usable of TMP, TEMP (each a
// Windows path, or a Linux path when it starts with '/'), the Linux TMPDIR, then /tmp mapped
// to Windows. Existence is not checked, as on Windows. Buffer conventions as
// GetCurrentDirectoryA (too small: the size needed with the NUL, buffer untouched).
DWORD GetTempPathA(DWORD size, LPSTR buffer);

namespace winport {

// _access: 0 when allowed, -1 with errno otherwise. As msvcrt, any mode is taken and only its
// bits 2 (write) and 4 (read) count (modes 1, 3, 8 are no error); a name with '*' or '?' gives
// EINVAL, a missing file, nullptr or "" ENOENT, a refusal EACCES. Kept quirks: a folder only
// needs to exist, whatever the mode, as on Windows; write is refused for a read-only file (no
// write bit) even to root. Unlike msvcrt, read (4) is checked against the Linux permissions. Shares
// and drive roots work ("\\server\share" with mode 6). The Win32 last error is left alone.
int Access(const char* path, int mode);

}  // namespace winport
