// The process-wide Windows paths: drive types, the current directory, the program's own file
// and the temporary folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "winport/cp932.h"
#include "winport/drive_map.h"
#include "winport/encoding.h"
#include "winport/files.h"
#include "winport/program_file.h"
#include "winport/windows_path.h"

namespace {

// The Windows text of the last SetCurrentDirectoryA, so that the current directory reads back
// as it was given (drive letter, share form) rather than as the Linux folder maps back.
std::mutex directoryMutex;
std::optional<std::string> rememberedDirectory;

std::optional<std::string> LinuxWorkingFolder() {
  char* cwd = getcwd(nullptr, 0);
  if (cwd == nullptr) return std::nullopt;
  std::string folder = cwd;
  std::free(cwd);
  return folder;
}

std::optional<std::string> RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return std::nullopt;
  std::string out = real;
  std::free(real);
  return out;
}

// Copies text to a caller's buffer with the Windows convention of the current-directory and
// temporary-path functions: the length without NUL when it fits, else the size needed with
// the NUL and the buffer left untouched.
DWORD CopyOut(const std::string& text, DWORD size, LPSTR buffer) {
  if (buffer == nullptr || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

UINT DriveTypeOfRoot(const winport::WindowsPath& path) {
  const winport::DriveMap& map = winport::CurrentDriveMap();
  if (path.drive == 0) {
    return map.FindShare(path.server, path.share) ? DRIVE_REMOTE : DRIVE_NO_ROOT_DIR;
  }
  const winport::Drive* drive = map.FindDrive(path.drive);
  return drive ? drive->type : DRIVE_NO_ROOT_DIR;
}

// A temporary-folder setting as a Windows folder: a Linux path (starting with '/') through
// the drive map, anything else as a Windows path.
std::optional<std::string> TempFolderFrom(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  if (value[0] == '/') return winport::CurrentDriveMap().ToWindows(value);
  std::optional<std::string> text = winport::Utf8ToCp932Exact(value);
  if (!text) return std::nullopt;
  std::optional<std::string> cwd = winport::CurrentWindowsDirectory();
  std::optional<winport::WindowsPath> path = winport::ResolveWindowsPath(*text, cwd.value_or(""));
  if (!path) return std::nullopt;
  return path->ToString();
}

}  // namespace

namespace winport {

std::optional<std::string> CurrentWindowsDirectory() {
  std::optional<std::string> cwd = LinuxWorkingFolder();
  if (!cwd) return std::nullopt;
  std::optional<std::string> remembered;
  {
    std::lock_guard<std::mutex> lock(directoryMutex);
    remembered = rememberedDirectory;
  }
  if (remembered) {
    // Still valid only while the Linux working folder is the one it was set to (nobody
    // called chdir since, and the drive map still takes it there).
    std::optional<WindowsPath> path = ResolveWindowsPath(*remembered, {});
    std::optional<std::string> mapped = path ? MapToLinux(*path, nullptr) : std::nullopt;
    std::optional<std::string> real = mapped ? RealPath(*mapped) : std::nullopt;
    if (real && *real == *cwd) return remembered;
  }
  return CurrentDriveMap().ToWindows(*cwd);
}

}  // namespace winport

UINT GetDriveTypeA(LPCSTR rootPath) {
  std::string text;
  if (rootPath == nullptr) {
    std::optional<std::string> cwd = winport::CurrentWindowsDirectory();
    if (!cwd) return DRIVE_NO_ROOT_DIR;
    text = *cwd;
  } else {
    text = rootPath;
  }
  // The device namespace "\\.\": "\\.\C:\" is the drive C, "\\.\C:" the volume device,
  // whose type is unknown; no other devices exist here.
  if (text.size() >= 4 && winport::IsPathSeparator(text[0]) && winport::IsPathSeparator(text[1]) &&
      text[2] == '.' && winport::IsPathSeparator(text[3])) {
    std::string device = text.substr(4);
    bool drive = device.size() >= 2 && device[1] == ':' &&
                 std::isalpha(static_cast<unsigned char>(device[0])) &&
                 static_cast<unsigned char>(device[0]) < 0x80;
    if (drive && device.size() == 2) return DRIVE_UNKNOWN;
    if (!drive || !winport::IsPathSeparator(device[2])) return DRIVE_NO_ROOT_DIR;
    text = device;
  }
  if (text.size() >= 2 && text[1] == ':' && !winport::cp932::IsLeadByte(text[0])) {
    // Only the letter counts: "C:", "C:\" and "C:\windows" all give C's type.
    std::optional<winport::WindowsPath> root = winport::ResolveWindowsPath(text.substr(0, 2), {});
    return root ? DriveTypeOfRoot(*root) : DRIVE_NO_ROOT_DIR;
  }
  if (text.size() >= 2 && winport::IsPathSeparator(text[0]) && winport::IsPathSeparator(text[1])) {
    std::optional<winport::WindowsPath> root = winport::ResolveWindowsPath(text, {});
    return root ? DriveTypeOfRoot(*root) : DRIVE_NO_ROOT_DIR;
  }
  if (!text.empty() && winport::IsPathSeparator(text[0])) {
    // "\" is the root of the current drive.
    std::optional<std::string> cwd = winport::CurrentWindowsDirectory();
    std::optional<winport::WindowsPath> root =
        cwd ? winport::ResolveWindowsPath(*cwd, {}) : std::nullopt;
    return root ? DriveTypeOfRoot(*root) : DRIVE_NO_ROOT_DIR;
  }
  return DRIVE_NO_ROOT_DIR;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::optional<std::string> cwd = winport::CurrentWindowsDirectory();
  if (!cwd) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return CopyOut(*cwd, size, buffer);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (std::strlen(path) >= static_cast<std::size_t>(MAX_PATH)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  DWORD error = ERROR_SUCCESS;
  winport::WindowsPath resolved;
  std::optional<std::string> linuxPath = winport::WindowsPathToLinux(path, &error, &resolved);
  if (!linuxPath) {
    SetLastError(error);
    return FALSE;
  }
  // Windows keeps the current directory with a final backslash in a MAX_PATH buffer.
  std::string full = resolved.ToString();
  if (full.size() + (winport::cp932::EndsWithBackslash(full) ? 0 : 1) >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  struct stat st;
  if (stat(linuxPath->c_str(), &st) != 0) {
    SetLastError(winport::FileErrorFromErrno(errno, *linuxPath));
    return FALSE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (chdir(linuxPath->c_str()) != 0) {
    SetLastError(winport::FileErrorFromErrno(errno, *linuxPath));
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(directoryMutex);
  rememberedDirectory = full;
  return TRUE;
}

DWORD GetModuleFileNameA(void* module, LPSTR buffer, DWORD size) {
  if (module != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  std::string program = winport::ProgramFile();
  std::optional<std::string> name;
  // Through a share when no drive reaches the program's folder: it must still find itself.
  if (!program.empty()) name = winport::CurrentDriveMap().ToWindowsOrShare(program);
  if (!name) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (name->size() < size) {
    std::memcpy(buffer, name->c_str(), name->size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(name->size());
  }
  // Too small: cut to size-1 bytes (never inside a double-byte character), terminated, and
  // the result is size itself with ERROR_INSUFFICIENT_BUFFER.
  std::size_t cut = winport::cp932::CutLength(*name, size - 1);
  std::memcpy(buffer, name->data(), cut);
  buffer[cut] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  std::optional<std::string> folder;
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    folder = TempFolderFrom(std::getenv(variable));
    if (folder) break;
  }
  if (!folder) folder = TempFolderFrom("/tmp");
  if (!folder) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  if (!winport::cp932::EndsWithBackslash(*folder)) *folder += '\\';
  return CopyOut(*folder, size, buffer);
}
