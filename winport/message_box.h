// Modal message boxes. The box is shown by the process's UI backend (a terminal, a script,
// or a test recorder), so every run can be driven without a person when needed.
#pragma once

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "winport/win32_types.h"

// Styles: buttons in the low nibble, icon in the next.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONSTOP = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal box through the current UI backend; text and caption are code page 932.
// Returns the button chosen.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace winport {

struct MessageBoxRequest {
  HWND owner = nullptr;
  std::string text;     // code page 932
  std::string caption;  // code page 932
  UINT style = MB_OK;
};

// What a scripted run answers when it has no answer left: acknowledge an OK box, say No to a
// question, cancel anything else. A scripted run never waits for input that cannot come.
int CautiousAnswer(UINT style);

// The process's user-interface seam. Abstract so that runs can be shown on a terminal,
// scripted from a file or recorded by tests; the Windows desktop is not available here.
class UiBackend {
 public:
  virtual ~UiBackend() = default;
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
};

// The backend MessageBoxA uses. The default is a ConsoleUiBackend on stdin/stdout.
UiBackend& CurrentUiBackend();
// Installs a backend (not owned); nullptr restores the default. Returns the previous one.
UiBackend* SetUiBackend(UiBackend* backend);

// Terminal backend. Shows each box as UTF-8 text on `out`. On a terminal it asks until it gets
// an answer that fits the buttons. Otherwise (a pipe or file) it reads one answer line per
// box: "y" Yes, "n" No, "o" OK, "c" Cancel (first non-blank character, any case); an empty or
// unfitting line and the end of input give the cautious answer.
class ConsoleUiBackend : public UiBackend {
 public:
  ConsoleUiBackend(std::FILE* in, std::FILE* out);
  int ShowMessageBox(const MessageBoxRequest& request) override;

 private:
  std::FILE* in_;
  std::FILE* out_;
};

// Test backend: records every box and answers from a queue, cautiously once it runs dry.
class RecordingUiBackend : public UiBackend {
 public:
  int ShowMessageBox(const MessageBoxRequest& request) override;

  std::vector<MessageBoxRequest> boxes;
  std::deque<int> answers;
};

// Installs a backend for the lifetime of the guard.
class ScopedUiBackend {
 public:
  explicit ScopedUiBackend(UiBackend& backend) : previous_(SetUiBackend(&backend)) {}
  ~ScopedUiBackend() { SetUiBackend(previous_); }
  ScopedUiBackend(const ScopedUiBackend&) = delete;
  ScopedUiBackend& operator=(const ScopedUiBackend&) = delete;

 private:
  UiBackend* previous_;
};

}  // namespace winport
