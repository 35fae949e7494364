#include "winport/last_error.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }

namespace winport {

DWORD FileErrorFromErrno(int err, const std::string& linuxPath) {
  switch (err) {
    case ENOENT: {
      // Windows tells a missing file from a missing folder on the way to it.
      std::size_t slash = linuxPath.rfind('/');
      std::string parent = slash == 0 ? "/" : linuxPath.substr(0, slash);
      struct stat st;
      bool parentIsFolder =
          slash != std::string::npos && stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      return parentIsFolder ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EIO:
      return ERROR_GEN_FAILURE;
    default:  // EACCES, EPERM, EROFS, EISDIR, ETXTBSY, EBUSY and the rest
      return ERROR_ACCESS_DENIED;
  }
}

}  // namespace winport
