#include "ui/whole_file.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "winport/files.h"
#include "winport/sleep.h"

WholeFileRead ReadWholeFile(const std::string& path, std::string* content) {
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite)) {
    return GetLastError() == ERROR_FILE_NOT_FOUND ? WholeFileRead::kMissing
                                                  : WholeFileRead::kFailed;
  }
  ULONGLONG length = 0;
  if (!file.GetLength(&length)) return WholeFileRead::kFailed;
  try {
    content->clear();
    content->reserve(static_cast<std::size_t>(length));
    // Read to the end rather than to the length seen above: what counts is what the open
    // file holds, not what its size said a moment earlier.
    char chunk[16384];
    UINT got = 0;
    do {
      if (!file.Read(chunk, sizeof chunk, &got)) return WholeFileRead::kFailed;
      content->append(chunk, got);
    } while (got > 0);
  } catch (const std::bad_alloc&) {
    return WholeFileRead::kFailed;
  } catch (const std::length_error&) {
    return WholeFileRead::kFailed;
  }
  return WholeFileRead::kRead;
}

bool ReplaceWholeFile(const std::string& path, std::string_view content) {
  const std::string temporary = path + ".tmp";
  CFile out;
  if (!out.Open(temporary.c_str(), CFile::modeCreate | CFile::modeWrite)) return false;
  bool written = true;
  for (std::size_t done = 0; written && done < content.size();) {
    UINT part = static_cast<UINT>(std::min<std::size_t>(content.size() - done, 1u << 30));
    written = out.Write(content.data() + done, part);
    done += part;
  }
  written = written && out.Flush();
  written = out.Close() && written;
  if (written && MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  (void)CFile::Remove(temporary.c_str());
  return false;
}

bool FileLock::Acquire(const std::string& lockPath, DWORD waitMilliseconds) {
  constexpr DWORD kStep = 5;
  for (DWORD waited = 0;; waited += kStep) {
    if (file_.Open(lockPath.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead |
                                         CFile::shareExclusive)) {
      return true;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION || waited >= waitMilliseconds) return false;
    Sleep(kStep);
  }
}
