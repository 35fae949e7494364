// Where ReportWriter sends its lines. Abstract so that tests can put a failing device in place
// of the file; Win32FileOutput is the real one.
#pragma once

#include <cstddef>
#include <string_view>

#include "winport/win32_types.h"

class ReportOutput {
 public:
  virtual ~ReportOutput() = default;
  // Creates the file at the Windows path, or truncates an existing one, for writing, shared
  // with nobody. False when it could not be opened.
  virtual bool Open(const char* path) = 0;
  // Writes all bytes with a single write; false when not open or when the write failed.
  virtual bool Write(std::string_view bytes) = 0;
  // Puts what was written on the disk, name and all, before the file is reported written;
  // false when it could not be (or the file is not open).
  virtual bool Flush() = 0;
  // Closes the file when open; later writes fail.
  virtual void Close() = 0;
};

// The output file through the Win32 file functions of winport.
class Win32FileOutput final : public ReportOutput {
 public:
  Win32FileOutput() = default;
  ~Win32FileOutput() override { Close(); }
  Win32FileOutput(const Win32FileOutput&) = delete;
  Win32FileOutput& operator=(const Win32FileOutput&) = delete;

  bool Open(const char* path) override;
  bool Write(std::string_view bytes) override;
  bool Flush() override;
  void Close() override;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
