// The framework's file object (MFC CFile) over the Win32 file functions of files.h, and its
// status query.
//
// Deliberate difference from MFC: where MFC throws a CFileException* (Read, Write, Flush,
// Close, GetLength, Remove), these return FALSE and leave the Win32 error for GetLastError,
// and results come back through pointers. The results that carry a failure are [[nodiscard]],
// so a caller cannot drop one unseen; in MFC code without a catch the same failure would end
// the program. Open fails as MFC's does: FALSE, no exception.
#pragma once

#include "winport/files.h"
#include "winport/win32_types.h"

// The part of MFC's CFileStatus the program reads. Left out: the three times and the full
// name. m_size is 64-bit as in later MFC versions (4.2's LONG would wrap beyond 2 GiB).
struct CFileStatus {
  ULONGLONG m_size = 0;  // bytes; 0 for a folder
  BYTE m_attribute = 0;  // CFile::Attribute bits
};

class CFile {
 public:
  // MFC's values. Access: one of modeRead, modeWrite, modeReadWrite. Sharing: shareCompat
  // and shareExclusive share nothing (MFC maps compatibility mode to exclusive), shareDenyWrite
  // lets others read, shareDenyRead lets others write, shareDenyNone lets both. modeCreate
  // makes a new empty file or empties an existing one; with modeNoTruncate an existing file
  // is kept. modeNoInherit, typeText and typeBinary change nothing here.
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20,
  };

  CFile() = default;
  // Closes a file still open, as MFC's destructor does; a failure there is not reported.
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens fileName (CreateFileA: share modes as there, also against other winport processes
  // for exclusive opening). FALSE with the Win32 error when it cannot, or with
  // ERROR_INVALID_PARAMETER for an access or sharing value MFC rejects, or when this object
  // already has a file open.
  [[nodiscard]] BOOL Open(LPCSTR fileName, UINT openFlags);
  // Reads up to count bytes into buffer; *read gets how many (fewer only at the end of the
  // file, 0 there).
  [[nodiscard]] BOOL Read(void* buffer, UINT count, UINT* read);
  // Writes all count bytes; a full disk fails (ERROR_DISK_FULL) after writing part of them.
  [[nodiscard]] BOOL Write(const void* buffer, UINT count);
  // Writes the file's data through to the disk.
  [[nodiscard]] BOOL Flush();
  // Closes the file; closing an object with no file open succeeds, as in MFC.
  BOOL Close();
  // The file's size in bytes.
  [[nodiscard]] BOOL GetLength(ULONGLONG* length) const;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

  // Deletes a file (DeleteFileA: folders, read-only files and files in use are refused).
  [[nodiscard]] static BOOL Remove(LPCSTR fileName);
  // Whether fileName names an existing file or folder, and then its size and attributes.
  // Kept quirks of MFC's search-based query: a drive or share root, and a name ending in a
  // separator, are not found; "C:\dir" is found as a folder. Unlike MFC, wildcards are not
  // expanded (a name with '*' or '?' is not found); the program never passes any.
  static BOOL GetStatus(LPCSTR fileName, CFileStatus& status);

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
