#include "winport/cfile.h"

#include <optional>
#include <string>

#include "winport/windows_path.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

CFile::~CFile() { Close(); }

BOOL CFile::Open(LPCSTR fileName, UINT openFlags) {
  if (IsOpen()) return Fail(ERROR_INVALID_PARAMETER);
  DWORD access = 0;
  switch (openFlags & 0x3) {
    case modeRead:
      access = GENERIC_READ;
      break;
    case modeWrite:
      access = GENERIC_WRITE;
      break;
    case modeReadWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      break;
    default:
      return Fail(ERROR_INVALID_PARAMETER);
  }
  DWORD share = 0;
  switch (openFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
      share = 0;
      break;
    case shareDenyWrite:
      share = FILE_SHARE_READ;
      break;
    case shareDenyRead:
      share = FILE_SHARE_WRITE;
      break;
    case shareDenyNone:
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
    default:
      return Fail(ERROR_INVALID_PARAMETER);
  }
  DWORD disposition = OPEN_EXISTING;
  if (openFlags & modeCreate) {
    disposition = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  }
  HANDLE handle =
      CreateFileA(fileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FALSE;
  handle_ = handle;
  return TRUE;
}

BOOL CFile::Read(void* buffer, UINT count, UINT* read) {
  DWORD done = 0;
  BOOL ok = ReadFile(handle_, buffer, count, &done, nullptr);
  if (read) *read = done;
  return ok;
}

BOOL CFile::Write(const void* buffer, UINT count) {
  DWORD written = 0;
  return WriteFile(handle_, buffer, count, &written, nullptr);
}

BOOL CFile::Flush() { return FlushFileBuffers(handle_); }

BOOL CFile::Close() {
  if (!IsOpen()) return TRUE;
  HANDLE handle = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return CloseHandle(handle);
}

BOOL CFile::GetLength(ULONGLONG* length) const {
  DWORD high = 0;
  DWORD low = GetFileSize(handle_, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return FALSE;
  if (length) *length = (static_cast<ULONGLONG>(high) << 32) | low;
  return TRUE;
}

BOOL CFile::Remove(LPCSTR fileName) { return DeleteFileA(fileName); }

BOOL CFile::GetStatus(LPCSTR fileName, CFileStatus& status) {
  if (fileName == nullptr || *fileName == '\0') return FALSE;
  // MFC asks a directory search for the name, and a search finds neither a root nor a name
  // with a separator after it.
  std::optional<winport::WindowsPath> resolved =
      winport::ResolveWindowsPath(fileName, winport::CurrentWindowsDirectory().value_or(""));
  if (!resolved || resolved->names.empty() || resolved->trailingSeparator) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(fileName, GetFileExInfoStandard, &data)) return FALSE;
  status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
  return TRUE;
}
