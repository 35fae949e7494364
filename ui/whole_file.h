// Small files read and replaced whole, so that neither a crash, a full disk nor a second
// instance of the program can leave one half written or lose another's change.
#pragma once

#include <string>
#include <string_view>

#include "winport/cfile.h"
#include "winport/win32_types.h"

enum class WholeFileRead {
  kRead,     // content holds every byte of the file
  kMissing,  // there is no such file
  kFailed,   // the file exists but could not be opened or read to its end
};

// Reads the file at path (a Windows path) to its end into *content. Whatever it returns other
// than kRead, *content is not the file and must not be used.
WholeFileRead ReadWholeFile(const std::string& path, std::string* content);

// Makes the file at path hold exactly content: writes it to path + ".tmp" in the same folder,
// flushes it to the disk and renames it over the old file in one step. On failure the old
// file (or its absence) is left as it was and the temporary file is removed. The temporary
// name is fixed, so writers of one file must take turns (FileLock).
bool ReplaceWholeFile(const std::string& path, std::string_view content);

// Mutual exclusion between program instances: holding a lock file opened without sharing.
// The lock file is never renamed or deleted, so every instance locks the same file.
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { file_.Close(); }

  // Opens (creating when missing) lockPath without sharing; while another instance holds it,
  // tries again every few milliseconds for up to waitMilliseconds. False when it is still held
  // then, or cannot be opened at all. The lock is held until the object ends.
  [[nodiscard]] bool Acquire(const std::string& lockPath, DWORD waitMilliseconds);

 private:
  CFile file_;
};
