#include "winport/message_box.h"

#include <unistd.h>

#include <cctype>

#include "winport/encoding.h"

namespace winport {
namespace {

UiBackend* g_backend = nullptr;

const char* IconName(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
      return "error";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONINFORMATION:
      return "information";
    default:
      return "no icon";
  }
}

const char* ButtonPrompt(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_YESNO:
      return "[y]es / [n]o";
    case MB_OKCANCEL:
      return "[o]k / [c]ancel";
    default:
      return "[o]k";
  }
}

// The button an answer character selects for this style, or 0 when it fits none.
int AnswerFor(UINT style, int c) {
  c = std::tolower(c);
  switch (style & MB_TYPEMASK) {
    case MB_YESNO:
      return c == 'y' ? IDYES : c == 'n' ? IDNO : 0;
    case MB_OKCANCEL:
      return c == 'o' ? IDOK : c == 'c' ? IDCANCEL : 0;
    default:
      return c == 'o' ? IDOK : 0;
  }
}

// Reads one line; false at end of input.
bool ReadLine(std::FILE* in, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(in)) != EOF) {
    if (c == '\n') return true;
    line.push_back(static_cast<char>(c));
  }
  return !line.empty();
}

int FirstNonBlank(const std::string& line) {
  for (char ch : line) {
    if (!std::isspace(static_cast<unsigned char>(ch))) return static_cast<unsigned char>(ch);
  }
  return 0;
}

}  // namespace

int CautiousAnswer(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_YESNO:
      return IDNO;
    case MB_OKCANCEL:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

UiBackend& CurrentUiBackend() {
  static ConsoleUiBackend console(stdin, stdout);
  return g_backend != nullptr ? *g_backend : console;
}

UiBackend* SetUiBackend(UiBackend* backend) {
  UiBackend* previous = g_backend;
  g_backend = backend;
  return previous;
}

ConsoleUiBackend::ConsoleUiBackend(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}

int ConsoleUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  std::fprintf(out_, "[%s] (%s)\n%s\n", Cp932ToUtf8(request.caption).c_str(),
               IconName(request.style), Cp932ToUtf8(request.text).c_str());
  const bool interactive = in_ != nullptr && isatty(fileno(in_));
  std::string line;
  for (;;) {
    std::fprintf(out_, "%s > ", ButtonPrompt(request.style));
    std::fflush(out_);
    if (in_ == nullptr || !ReadLine(in_, line)) {
      int answer = CautiousAnswer(request.style);
      std::fprintf(out_, "(no answer: %s)\n",
                   answer == IDOK   ? "ok"
                   : answer == IDNO ? "no"
                                    : "cancel");
      return answer;
    }
    if (!interactive) std::fprintf(out_, "%s\n", line.c_str());
    int answer = AnswerFor(request.style, FirstNonBlank(line));
    if (answer != 0) return answer;
    if (!interactive) return CautiousAnswer(request.style);
  }
}

int RecordingUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  boxes.push_back(request);
  if (answers.empty()) return CautiousAnswer(request.style);
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace winport

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  winport::MessageBoxRequest request{owner, text != nullptr ? text : "",
                                     caption != nullptr ? caption : "", type};
  return winport::CurrentUiBackend().ShowMessageBox(request);
}
