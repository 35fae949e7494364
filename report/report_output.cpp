#include "report/report_output.h"

#include "winport/files.h"

bool Win32FileOutput::Open(const char* path) {
  Close();
  // Share mode 0: nobody else may open the file while the linkage file is being written.
  handle_ =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32FileOutput::Write(std::string_view bytes) {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  // A short write (disk full) is a failed write: the line is not in the file as a whole.
  return ok && written == bytes.size();
}

bool Win32FileOutput::Flush() {
  return handle_ != INVALID_HANDLE_VALUE && FlushFileBuffers(handle_);
}

void Win32FileOutput::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}
