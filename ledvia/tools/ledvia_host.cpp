// ledvia-host: plays the accounting product's side of the caller handshake. It registers a
// caller window, starts PROGRAM with the handshake as its one argument, and reports on standard
// output what PROGRAM did to the window:
//
//   enable window=<n> enable=<0|1>
//   foreground window=<n>
//   posted message=<n> wparam=<signed> lparam=<signed>
//   no message                                  (PROGRAM ended without posting)
//
// Usage: ledvia-host [--message N] [--function-id N] [--output PATH] [--no-comma]
//                    [--raw TEXT] -- PROGRAM [ARGS...]
//
// The handshake is "WINDOW,MESSAGE,FUNCTION,PATH" (message 1024, function 1, empty path by
// default, so "W,1024,1,"); --no-comma leaves out the comma after the function identifier, which
// makes it no handshake; --raw passes TEXT as it is. ARGS follow the handshake argument. Standard
// input and output are PROGRAM's too, so answers can be scripted.
//
// Exit status: the second parameter of the first posted message (as an exit status, so modulo
// 256); 99 when nothing was posted; 64 bad usage; 127 PROGRAM cannot be started; 70 no window
// could be registered.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "winport/window.h"

extern char** environ;

namespace {

constexpr int kNoMessage = 99;
constexpr int kUsage = 64;
constexpr int kCannotStart = 127;
constexpr int kNoWindow = 70;
constexpr int kPollMs = 50;

constexpr const char* kUsageText =
    "usage: ledvia-host [--message N] [--function-id N] [--output PATH] [--no-comma]\n"
    "                   [--raw TEXT] -- PROGRAM [ARGS...]\n";

constexpr const char* kHelpText =
    "\n"
    "Plays the accounting product's side of the caller handshake: registers a caller window,\n"
    "starts PROGRAM with the handshake \"WINDOW,MESSAGE,FUNCTION,PATH\" (message 1024,\n"
    "function 1, empty path by default) as its first argument, ARGS after it, and prints what\n"
    "PROGRAM did to the window, one line each: enable, foreground, posted message, or\n"
    "\"no message\". --no-comma leaves out the comma after the function identifier; --raw\n"
    "passes TEXT as the handshake.\n"
    "\n"
    "Exit status: the second parameter of the first posted message (modulo 256); 99 nothing\n"
    "posted; 64 bad usage; 127 PROGRAM cannot be started; 70 no window could be registered.\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "ledvia-host: %s\n%s", problem, kUsageText);
  return kUsage;
}

struct Options {
  std::string message = "1024";  // WM_USER
  std::string functionId = "1";
  std::string output;
  bool outputGiven = false;
  bool noComma = false;
  std::optional<std::string> raw;
  std::vector<std::string> program;  // PROGRAM and ARGS
};

bool IsInteger(const std::string& text) {
  std::size_t start = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (start == text.size() || text.size() > 20) return false;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// Fills `options`; returns the problem for the usage text, or nullptr.
const char* Parse(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg.empty() || arg[0] != '-') break;  // PROGRAM without the "--"
    if (arg == "--no-comma") {
      options.noComma = true;
      continue;
    }
    if (arg != "--message" && arg != "--function-id" && arg != "--output" && arg != "--raw") {
      return "unknown option (PROGRAM follows --)";
    }
    if (i + 1 >= argc) return "option without its value";
    std::string value = argv[++i];
    if (arg == "--message" || arg == "--function-id") {
      if (!IsInteger(value)) return "--message and --function-id take a decimal number";
      (arg == "--message" ? options.message : options.functionId) = value;
    } else if (arg == "--output") {
      options.output = value;
      options.outputGiven = true;
    } else {
      options.raw = value;
    }
  }
  if (options.noComma && options.outputGiven) return "--no-comma leaves no room for --output";
  for (; i < argc; ++i) options.program.push_back(argv[i]);
  if (options.program.empty()) return "no PROGRAM given";
  return nullptr;
}

std::string Handshake(const Options& options, HWND window) {
  if (options.raw) return *options.raw;
  std::string text =
      std::to_string(HwndToNumber(window)) + "," + options.message + "," + options.functionId;
  if (!options.noComma) text += "," + options.output;
  return text;
}

void Print(const winport::WindowEvent& event, HWND window) {
  long number = static_cast<long>(HwndToNumber(window));
  switch (event.kind) {
    case winport::WindowEvent::Kind::Enable:
      std::printf("enable window=%ld enable=%d\n", number, event.enable ? 1 : 0);
      break;
    case winport::WindowEvent::Kind::Foreground:
      std::printf("foreground window=%ld\n", number);
      break;
    case winport::WindowEvent::Kind::Posted:
      std::printf("posted message=%u wparam=%" PRId64 " lparam=%" PRId64 "\n", event.message,
                  static_cast<std::int64_t>(event.wParam), static_cast<std::int64_t>(event.lParam));
      break;
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsageText, stdout);
    std::fputs(kHelpText, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  Options options;
  if (const char* problem = Parse(argc, argv, options)) return Usage(problem);

  std::string error;
  auto window = winport::WindowRegistration::Create(&error);
  if (!window) {
    std::fprintf(stderr, "ledvia-host: cannot register a caller window: %s\n", error.c_str());
    return kNoWindow;
  }

  std::string handshake = Handshake(options, window->Handle());
  std::vector<char*> childArgv;
  childArgv.push_back(options.program[0].data());
  childArgv.push_back(handshake.data());
  for (std::size_t i = 1; i < options.program.size(); ++i) {
    childArgv.push_back(options.program[i].data());
  }
  childArgv.push_back(nullptr);

  std::fflush(stdout);
  pid_t child;
  int spawnError = posix_spawnp(&child, childArgv[0], nullptr, nullptr, childArgv.data(), environ);
  if (spawnError != 0) {
    std::fprintf(stderr, "ledvia-host: cannot start %s: %s\n", childArgv[0],
                 std::strerror(spawnError));
    return kCannotStart;
  }

  std::optional<LPARAM> result;
  auto show = [&](const winport::WindowEvent& event) {
    Print(event, window->Handle());
    if (event.kind == winport::WindowEvent::Kind::Posted && !result) result = event.lParam;
  };
  int status = 0;
  for (;;) {
    if (auto event = window->Receive(kPollMs)) show(*event);
    pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child || (ended < 0 && errno != EINTR)) break;
  }
  // Whatever PROGRAM sent before it ended is already queued.
  while (auto event = window->Receive(0)) show(*event);

  if (WIFSIGNALED(status)) {
    std::fprintf(stderr, "ledvia-host: %s ended by signal %d\n", childArgv[0], WTERMSIG(status));
  }
  if (!result) {
    std::puts("no message");
    std::fflush(stdout);
    return kNoMessage;
  }
  return static_cast<int>(static_cast<std::uint64_t>(*result) & 0xFF);
}
