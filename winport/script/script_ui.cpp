#include "winport/script/script_ui.h"

#include <cctype>
#include <cstdlib>

#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/message_box.h"
#include "winport/user_windows.h"

namespace winport {
namespace {

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

const char* AnswerName(int answer) {
  switch (answer) {
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    case IDOK:
      return "ok";
    default:
      return "cancel";
  }
}

// The button an answer word (or its first letter) selects for this style; 0 when it fits none.
int AnswerFor(UINT style, const std::string& word) {
  if (word.empty()) return 0;
  const int c = std::tolower(static_cast<unsigned char>(word[0]));
  switch (style & MB_TYPEMASK) {
    case MB_YESNO:
      return c == 'y' ? IDYES : c == 'n' ? IDNO : 0;
    case MB_OKCANCEL:
      return c == 'o' ? IDOK : c == 'c' ? IDCANCEL : 0;
    default:
      return c == 'o' ? IDOK : 0;
  }
}

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The first word, and the rest after one separating blank (kept as it is: a typed text may
// start or end with blanks).
std::pair<std::string, std::string> SplitWord(const std::string& text) {
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return {"", ""};
  std::size_t end = text.find_first_of(" \t", start);
  if (end == std::string::npos) return {text.substr(start), ""};
  std::string rest = text.substr(end + 1);
  if (!rest.empty() && rest.back() == '\r') rest.pop_back();
  return {text.substr(start, end - start), rest};
}

bool IsCommand(const std::string& word) {
  return word == "type" || word == "click" || word == "dblclick" || word == "key" ||
         word == "answer" || word == "save";
}

std::optional<int> ParseId(const std::string& text) {
  std::string id = Trim(text);
  if (id.empty() || id.size() > 9) return std::nullopt;
  for (char c : id) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return std::atoi(id.c_str());
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::optional<UiEvent> ParseKeyName(const std::string& text) {
  std::string name = Trim(text);
  bool shift = false, ctrl = false, alt = false;
  for (;;) {
    std::string lower = Lower(name);
    if (lower.rfind("shift+", 0) == 0) {
      shift = true;
      name = name.substr(6);
    } else if (lower.rfind("ctrl+", 0) == 0) {
      ctrl = true;
      name = name.substr(5);
    } else if (lower.rfind("alt+", 0) == 0) {
      alt = true;
      name = name.substr(4);
    } else {
      break;
    }
  }
  static const struct {
    const char* name;
    UINT vk;
  } kKeys[] = {{"enter", VK_RETURN},   {"esc", VK_ESCAPE},    {"tab", VK_TAB},
               {"f12", VK_F12},        {"f4", VK_F4},         {"up", VK_UP},
               {"down", VK_DOWN},      {"left", VK_LEFT},     {"right", VK_RIGHT},
               {"home", VK_HOME},      {"end", VK_END},       {"space", VK_SPACE},
               {"backspace", VK_BACK}, {"delete", VK_DELETE}, {"insert", VK_INSERT}};
  std::string lower = Lower(name);
  for (const auto& key : kKeys) {
    if (lower == key.name) return UiEvent::Key(key.vk, shift, ctrl, alt);
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return UiEvent::Key(static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0]))), shift,
                        ctrl, alt);
  }
  return std::nullopt;
}

ScriptUiBackend::ScriptUiBackend(std::FILE* in, std::FILE* out, std::FILE* err, std::string name)
    : in_(in), out_(out), err_(err), name_(std::move(name)) {}

std::optional<ScriptUiBackend::Line> ScriptUiBackend::Next() {
  while (!ended_ && in_ != nullptr) {
    std::string text;
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
      any = true;
      if (c == '\n') break;
      text.push_back(static_cast<char>(c));
    }
    if (!any) break;
    ++lineNumber_;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    return Line{lineNumber_, text};
  }
  ended_ = true;
  return std::nullopt;
}

void ScriptUiBackend::Misfit(const Line& line, const std::string& why) {
  std::fprintf(err_, "%s:%d: %s: \"%s\"; the script ends here\n", name_.c_str(), line.number,
               why.c_str(), Trim(line.text).c_str());
  std::fflush(err_);
  ended_ = true;
}

int ScriptUiBackend::ShowMessageBox(const MessageBoxRequest& request) {
  std::fprintf(out_, "[%s] (%s)\n%s\n%s > ", Cp932ToUtf8(request.caption).c_str(),
               IconName(request.style), Cp932ToUtf8(request.text).c_str(),
               ButtonPrompt(request.style));
  int answer = 0;
  if (std::optional<Line> line = Next()) {
    auto [word, rest] = SplitWord(line->text);
    if (word == "answer") {
      answer = AnswerFor(request.style, Trim(rest));
    } else if (!IsCommand(word)) {
      answer = AnswerFor(request.style, Trim(line->text));  // "y", "n", "o", "c" as before
    }
    if (answer != 0) {
      std::fprintf(out_, "%s\n", Trim(line->text).c_str());
      std::fflush(out_);
      return answer;
    }
    std::fprintf(out_, "\n");
    Misfit(*line, "a message box waits for an answer that fits its buttons");
  }
  answer = CautiousAnswer(request.style);
  std::fprintf(out_, "(no answer: %s)\n", AnswerName(answer));
  std::fflush(out_);
  return answer;
}

UiEvent ScriptUiBackend::NextDialogEvent(const DialogWindow& dialog) {
  (void)dialog;
  while (std::optional<Line> line = Next()) {
    last_ = *line;
    auto [word, rest] = SplitWord(line->text);
    if (word == "type" || word == "click" || word == "dblclick") {
      auto [idText, text] = SplitWord(rest);
      std::optional<int> id = ParseId(idText);
      if (!id) {
        Misfit(*line, "a control id is missing");
        break;
      }
      if (word != "type") {
        // The caret a click on an edit places; without one a click leaves the caret.
        std::optional<int> caret = text.empty() ? std::optional<int>(-1) : ParseId(Trim(text));
        if (!caret || (word == "dblclick" && *caret < 0)) {
          Misfit(*line, "the caret is not a byte offset");
          break;
        }
        return word == "click" ? UiEvent::Click(*id, *caret) : UiEvent::DoubleClick(*id, *caret);
      }
      std::optional<std::string> cp932 = Utf8ToCp932Exact(text);
      if (!cp932) {
        Misfit(*line, "the text has characters code page 932 lacks");
        break;
      }
      return UiEvent::Type(*id, *cp932);
    }
    if (word == "key") {
      if (std::optional<UiEvent> key = ParseKeyName(rest)) return *key;
      Misfit(*line, "no such key");
      break;
    }
    Misfit(*line, word == "answer" || word == "save" || !IsCommand(word)
                      ? "a dialog waits for input (type, click or key)"
                      : "not a command");
    break;
  }
  return UiEvent::Key(VK_ESCAPE);
}

std::optional<std::string> ScriptUiBackend::AskSaveFileName(const SaveFileRequest& request) {
  std::fprintf(out_, "[%s] (save file) %s > ", Cp932ToUtf8(request.title).c_str(),
               Cp932ToUtf8(SaveFileFieldText(request)).c_str());
  if (std::optional<Line> line = Next()) {
    auto [word, rest] = SplitWord(line->text);
    std::string path = Trim(rest);
    if (word == "save" && !path.empty()) {
      std::fprintf(out_, "%s\n", Trim(line->text).c_str());
      std::fflush(out_);
      if (path == "cancel") return std::nullopt;
      if (std::optional<std::string> cp932 = Utf8ToCp932Exact(path)) return cp932;
      Misfit(*line, "the path has characters code page 932 lacks");
      return std::nullopt;
    }
    std::fprintf(out_, "\n");
    Misfit(*line, "a save-file dialog waits for \"save PATH\" or \"save cancel\"");
  }
  std::fprintf(out_, "(no answer: cancel)\n");
  std::fflush(out_);
  return std::nullopt;
}

void ScriptUiBackend::Rejected(const UiEvent& event, const std::string& why) {
  (void)event;
  if (!ended_) Misfit(last_, why);
}

}  // namespace winport
