#include "winport/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "winport/fault_injection.h"
#include "winport/windows_path.h"

namespace {

struct OpenFile {
  int fd = -1;
  DWORD access = 0;
  DWORD share = 0;
  dev_t device = 0;
  ino_t inode = 0;
  std::string folder;  // the Linux folder holding the file's name, for FlushFileBuffers
};

// Every handle this process holds, so that share modes are honoured between them exactly.
struct HandleTable {
  std::mutex mutex;
  std::map<std::uintptr_t, OpenFile> files;
  std::uintptr_t next = 0x100;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

constexpr DWORD kDataAccess = GENERIC_READ | GENERIC_WRITE;

// Windows refuses a second opening when either side's share mode does not allow the other's
// access.
bool SharingConflict(const OpenFile& open, DWORD access, DWORD share) {
  if ((open.access & kDataAccess) == 0 || (access & kDataAccess) == 0) return false;
  if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return true;
  if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return true;
  if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
  if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
  return false;
}

bool OpenInProcess(const struct stat& st, DWORD access, DWORD share, bool forDelete) {
  HandleTable& table = Handles();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (const auto& [key, open] : table.files) {
    if (open.device != st.st_dev || open.inode != st.st_ino) continue;
    if (forDelete ? !(open.share & FILE_SHARE_DELETE) : SharingConflict(open, access, share)) {
      return true;
    }
  }
  return false;
}

// Another process holds the file without sharing: it has the exclusive advisory lock that
// CreateFileA takes for share mode 0.
bool LockedElsewhere(const std::string& linuxPath) {
  int fd = open(linuxPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  bool locked = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return locked;
}

// The read-only attribute, as Wine derives it: nobody may write.
bool ReadOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

std::optional<OpenFile> FindHandle(HANDLE handle) {
  HandleTable& table = Handles();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto it = table.files.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == table.files.end()) return std::nullopt;
  return it->second;
}

// A path resolved and looked up; on failure the error is set and nullopt returned.
struct Located {
  std::string linuxPath;
  winport::WindowsPath windowsPath;
  bool exists = false;
  struct stat st {};
};

// trailingFileError: the error for an existing file named with a separator after it.
std::optional<Located> Locate(LPCSTR path, DWORD trailingFileError = ERROR_INVALID_NAME) {
  if (path != nullptr && std::strlen(path) >= static_cast<std::size_t>(MAX_PATH)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return std::nullopt;
  }
  Located found;
  DWORD error = ERROR_SUCCESS;
  std::optional<std::string> linuxPath =
      winport::WindowsPathToLinux(path, &error, &found.windowsPath);
  if (!linuxPath) {
    SetLastError(error);
    return std::nullopt;
  }
  found.linuxPath = *linuxPath;
  found.exists = stat(found.linuxPath.c_str(), &found.st) == 0;
  // "file.txt\" names a folder; an existing file under that name is not found.
  if (found.exists && found.windowsPath.trailingSeparator && !S_ISDIR(found.st.st_mode)) {
    SetLastError(trailingFileError);
    return std::nullopt;
  }
  if (!found.exists) found.st = {};
  return found;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

BOOL FailErrno(const std::string& linuxPath) {
  return Fail(winport::FileErrorFromErrno(errno, linuxPath));
}

BOOL FailErrno(int err, const std::string& linuxPath) {
  return Fail(winport::FileErrorFromErrno(err, linuxPath));
}

// The attribute bits Wine reports for a Linux file or folder.
DWORD Attributes(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (ReadOnly(st) ? FILE_ATTRIBUTE_READONLY : 0);
}

}  // namespace

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* /*security*/,
                   DWORD disposition, DWORD flags, HANDLE /*templateFile*/) {
  if (DWORD injected = winport::CallFaultFor("CreateFileA")) return FailHandle(injected);
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
      (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
    return FailHandle(ERROR_INVALID_PARAMETER);
  }
  std::optional<Located> target = Locate(path);
  if (!target) return INVALID_HANDLE_VALUE;
  const std::string& linuxPath = target->linuxPath;
  if (target->exists && S_ISDIR(target->st.st_mode)) return FailHandle(ERROR_ACCESS_DENIED);
  if (target->windowsPath.trailingSeparator) return FailHandle(ERROR_INVALID_NAME);

  // Non-blocking: opening a named pipe must not wait for its other end. Whatever is opened is
  // refused below unless it is a regular file, and made blocking again for the data calls.
  int openFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) {
    openFlags |= O_RDWR;
  } else if (access & GENERIC_WRITE) {
    openFlags |= O_WRONLY;
  } else {
    openFlags |= O_RDONLY;
  }
  mode_t mode = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;

  // Open an existing file first and create only when there is none, so that the result says
  // truthfully whether the file was there (ERROR_ALREADY_EXISTS) without a race.
  int fd = -1;
  bool existed = false;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    if (disposition != CREATE_NEW) {
      fd = open(linuxPath.c_str(), openFlags);
      if (fd >= 0) {
        existed = true;
        break;
      }
      if (errno != ENOENT || disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
        return FailHandle(winport::FileErrorFromErrno(errno, linuxPath));
      }
    }
    fd = open(linuxPath.c_str(), openFlags | O_CREAT | O_EXCL, mode);
    if (fd < 0 && (errno != EEXIST || disposition == CREATE_NEW)) {
      return FailHandle(winport::FileErrorFromErrno(errno, linuxPath));
    }
  }
  if (fd < 0) return FailHandle(ERROR_ACCESS_DENIED);

  OpenFile file{fd, access, shareMode, 0, 0, linuxPath.substr(0, linuxPath.find_last_of('/') + 1)};
  struct stat st {};
  DWORD error = ERROR_SUCCESS;
  if (fstat(fd, &st) != 0) {
    error = winport::FileErrorFromErrno(errno, linuxPath);
  } else if (!S_ISREG(st.st_mode) || (existed && ReadOnly(st) &&
                                      ((access & GENERIC_WRITE) || disposition == CREATE_ALWAYS))) {
    // A read-only file refuses writing and replacing even to the administrator, as on Windows.
    error = ERROR_ACCESS_DENIED;
  }
  file.device = st.st_dev;
  file.inode = st.st_ino;
  if (error == ERROR_SUCCESS && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = winport::FileErrorFromErrno(errno, linuxPath);
  }

  std::uintptr_t key = 0;
  if (error == ERROR_SUCCESS) {
    HandleTable& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const auto& [otherKey, other] : table.files) {
      if (other.device == file.device && other.inode == file.inode &&
          SharingConflict(other, access, shareMode)) {
        error = ERROR_SHARING_VIOLATION;
        break;
      }
    }
    // Other processes: an exclusive lock for "no sharing", a shared one otherwise. A file
    // system without flock support leaves only the in-process check.
    if (error == ERROR_SUCCESS && (access & kDataAccess) &&
        flock(fd, (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      error = ERROR_SHARING_VIOLATION;
    }
    // Truncate only once the sharing check has passed: a refused opening changes nothing.
    if (error == ERROR_SUCCESS && existed &&
        (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) && st.st_size != 0) {
      int rc = (access & GENERIC_WRITE) ? ftruncate(fd, 0) : truncate(linuxPath.c_str(), 0);
      if (rc != 0) error = winport::FileErrorFromErrno(errno, linuxPath);
    }
    if (error == ERROR_SUCCESS) {
      key = table.next;
      table.next += 4;
      table.files[key] = file;
    }
  }
  if (error != ERROR_SUCCESS) {
    close(fd);
    // A file made here but locked by another process before this opening could lock it is
    // that process's file now: removing it would leave two holders of two different files.
    if (!existed && error != ERROR_SHARING_VIOLATION) unlink(linuxPath.c_str());
    return FailHandle(error);
  }
  bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
  SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return reinterpret_cast<HANDLE>(key);
}

BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped) {
  if (written) *written = 0;
  if (DWORD injected = winport::CallFaultFor("WriteFile")) return Fail(injected);
  std::optional<OpenFile> open = FindHandle(file);
  if (!open) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped != nullptr || (data == nullptr && size != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if (!(open->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  const char* bytes = static_cast<const char*>(data);
  DWORD done = 0;
  while (done < size) {
    ssize_t n = write(open->fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (written) *written = done;
      return Fail(n == 0 || errno == ENOSPC || errno == EDQUOT || errno == EFBIG
                      ? ERROR_DISK_FULL
                      : (errno == EIO ? ERROR_WRITE_FAULT : ERROR_ACCESS_DENIED));
    }
    done += static_cast<DWORD>(n);
  }
  if (written) *written = done;
  return TRUE;
}

BOOL ReadFile(HANDLE file, void* data, DWORD size, DWORD* read, void* overlapped) {
  if (read) *read = 0;
  if (DWORD injected = winport::CallFaultFor("ReadFile")) return Fail(injected);
  std::optional<OpenFile> open = FindHandle(file);
  if (!open) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped != nullptr || (data == nullptr && size != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if (!(open->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
  char* bytes = static_cast<char*>(data);
  DWORD done = 0;
  while (done < size) {
    ssize_t n = ::read(open->fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (read) *read = done;
      return Fail(errno == EIO ? ERROR_READ_FAULT : ERROR_ACCESS_DENIED);
    }
    if (n == 0) break;  // end of file: success with fewer bytes, as Windows reports it
    done += static_cast<DWORD>(n);
  }
  if (read) *read = done;
  return TRUE;
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
  std::optional<OpenFile> open = FindHandle(file);
  struct stat st;
  if (!open || fstat(open->fd, &st) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  if (high) *high = static_cast<DWORD>(size >> 32);
  // Success clears the error, so a low part of 0xFFFFFFFF can be told from a failure.
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE file) {
  if (DWORD injected = winport::CallFaultFor("FlushFileBuffers")) return Fail(injected);
  std::optional<OpenFile> open = FindHandle(file);
  if (!open) return Fail(ERROR_INVALID_HANDLE);
  if (!(open->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
  if (fsync(open->fd) != 0) {
    return Fail(errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
  }
  // Windows writes the file's directory entry with its data; here a new file's name is durable
  // only once its folder is synced too.
  int folder =
      ::open(open->folder.empty() ? "." : open->folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool synced = folder >= 0 && fsync(folder) == 0;
  if (folder >= 0) close(folder);
  return synced ? TRUE : Fail(ERROR_WRITE_FAULT);
}

BOOL CloseHandle(HANDLE handle) {
  HandleTable& table = Handles();
  int fd = -1;
  {
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.files.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.files.end()) return Fail(ERROR_INVALID_HANDLE);
    fd = it->second.fd;
    table.files.erase(it);
  }
  close(fd);  // also drops the advisory lock
  return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
  if (DWORD injected = winport::CallFaultFor("DeleteFileA")) return Fail(injected);
  std::optional<Located> target = Locate(path);
  if (!target) return FALSE;
  struct stat link;
  if (lstat(target->linuxPath.c_str(), &link) != 0) return FailErrno(target->linuxPath);
  if (S_ISDIR(link.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!S_ISLNK(link.st_mode)) {
    if (ReadOnly(link)) return Fail(ERROR_ACCESS_DENIED);
    if (OpenInProcess(link, 0, 0, true) || LockedElsewhere(target->linuxPath)) {
      return Fail(ERROR_SHARING_VIOLATION);
    }
  }
  if (unlink(target->linuxPath.c_str()) != 0) return FailErrno(target->linuxPath);
  return TRUE;
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
  if (DWORD injected = winport::CallFaultFor("MoveFileExA")) return Fail(injected);
  if (newName == nullptr || (flags & ~(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::optional<Located> source = Locate(existingName);
  if (!source) return FALSE;
  if (!source->exists) return Fail(winport::FileErrorFromErrno(ENOENT, source->linuxPath));
  std::optional<Located> target = Locate(newName);
  if (!target) return FALSE;
  if (target->windowsPath.trailingSeparator && !target->exists) return Fail(ERROR_INVALID_NAME);
  if (!S_ISDIR(source->st.st_mode) &&
      (OpenInProcess(source->st, 0, 0, true) || LockedElsewhere(source->linuxPath))) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  bool sameFile = target->exists && target->st.st_dev == source->st.st_dev &&
                  target->st.st_ino == source->st.st_ino;
  if (target->exists && !sameFile) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(target->st.st_mode) || S_ISDIR(source->st.st_mode) || ReadOnly(target->st) ||
        OpenInProcess(target->st, 0, 0, true) || LockedElsewhere(target->linuxPath)) {
      return Fail(ERROR_ACCESS_DENIED);
    }
  }
  if (rename(source->linuxPath.c_str(), target->linuxPath.c_str()) != 0) {
    if (errno == EXDEV) return Fail(ERROR_NOT_SAME_DEVICE);
    return FailErrno(target->linuxPath);
  }
  if (flags & MOVEFILE_WRITE_THROUGH) {
    // The new name is durable only once its folder's entry is on the disk.
    std::string folder = target->linuxPath.substr(0, target->linuxPath.find_last_of('/') + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) close(fd);
    if (!synced) return Fail(ERROR_WRITE_FAULT);
  }
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, void* /*security*/) {
  if (DWORD injected = winport::CallFaultFor("CreateDirectoryA")) return Fail(injected);
  std::optional<Located> target = Locate(path);
  if (!target) return FALSE;
  if (target->windowsPath.names.empty()) return Fail(ERROR_ACCESS_DENIED);
  // Windows keeps room for an 8.3 file name below a new folder: 248 bytes at most.
  if (target->windowsPath.ToString().size() > static_cast<std::size_t>(MAX_PATH - 12)) {
    return Fail(ERROR_FILENAME_EXCED_RANGE);
  }
  if (mkdir(target->linuxPath.c_str(), 0777) == 0) return TRUE;
  if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
  if (errno == ENOENT || errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND);
  return FailErrno(target->linuxPath);
}

BOOL RemoveDirectoryA(LPCSTR path) {
  if (DWORD injected = winport::CallFaultFor("RemoveDirectoryA")) return Fail(injected);
  // No name at all (or only blanks) is an invalid name here, not a missing path.
  if (path == nullptr || std::string_view(path).find_first_not_of(' ') == std::string_view::npos) {
    return Fail(ERROR_INVALID_NAME);
  }
  std::optional<Located> target = Locate(path);
  if (!target) return FALSE;
  if (!target->exists) return Fail(winport::FileErrorFromErrno(ENOENT, target->linuxPath));
  if (!S_ISDIR(target->st.st_mode)) return Fail(ERROR_DIRECTORY);
  // The process's current folder is in use on Windows and cannot be removed.
  struct stat cwd;
  if (stat(".", &cwd) == 0 && cwd.st_dev == target->st.st_dev && cwd.st_ino == target->st.st_ino) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  // A drive or share root is never removed: one with anything in it is not empty, as on
  // Windows; an empty one is refused rather than removing the Linux folder under the drive.
  if (target->windowsPath.names.empty()) {
    DIR* dir = opendir(target->linuxPath.c_str());
    bool empty = true;
    while (dir != nullptr && empty) {
      dirent* entry = readdir(dir);
      if (entry == nullptr) break;
      empty = std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0;
    }
    if (dir != nullptr) closedir(dir);
    return Fail(empty ? ERROR_ACCESS_DENIED : ERROR_DIR_NOT_EMPTY);
  }
  if (rmdir(target->linuxPath.c_str()) == 0) return TRUE;
  if (errno == ENOTEMPTY || errno == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);
  return FailErrno(target->linuxPath);
}

DWORD GetFileAttributesA(LPCSTR path) {
  std::optional<Located> target = Locate(path, ERROR_PATH_NOT_FOUND);
  if (!target) return INVALID_FILE_ATTRIBUTES;
  if (!target->exists) {
    SetLastError(winport::FileErrorFromErrno(ENOENT, target->linuxPath));
    return INVALID_FILE_ATTRIBUTES;
  }
  return Attributes(target->st);
}

BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, void* info) {
  if (level != GetFileExInfoStandard || info == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::optional<Located> target = Locate(path, ERROR_PATH_NOT_FOUND);
  if (!target) return FALSE;
  if (!target->exists) return FailErrno(ENOENT, target->linuxPath);
  const struct stat& st = target->st;
  auto fileTime = [](const struct timespec& t) {
    // 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
    std::uint64_t steps = (static_cast<std::uint64_t>(t.tv_sec) + 11644473600u) * 10000000u +
                          static_cast<std::uint64_t>(t.tv_nsec) / 100u;
    return FILETIME{static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
  };
  std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
  data->dwFileAttributes = Attributes(st);
  data->ftCreationTime = fileTime(st.st_ctim);
  data->ftLastAccessTime = fileTime(st.st_atim);
  data->ftLastWriteTime = fileTime(st.st_mtim);
  data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  return TRUE;
}

namespace winport {

int Access(const char* path, int mode) {
  DWORD savedError = GetLastError();  // _access is a C runtime call: it leaves the Win32 error
  std::optional<Located> target =
      path != nullptr ? Locate(path, ERROR_PATH_NOT_FOUND) : std::nullopt;
  DWORD error = GetLastError();
  SetLastError(savedError);
  if (!target || !target->exists) {
    // A name Windows refuses (wildcards, say) is an invalid argument; anything else is missing.
    errno = target || path == nullptr || error != ERROR_INVALID_NAME ? ENOENT : EINVAL;
    return -1;
  }
  if (S_ISDIR(target->st.st_mode)) return 0;
  bool allowed = true;
  if ((mode & 2) && (ReadOnly(target->st) || access(target->linuxPath.c_str(), W_OK) != 0)) {
    allowed = false;
  }
  if ((mode & 4) && access(target->linuxPath.c_str(), R_OK) != 0) allowed = false;
  if (!allowed) {
    errno = EACCES;
    return -1;
  }
  return 0;
}

}  // namespace winport
