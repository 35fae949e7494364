// winport-post: sends to a registered window from a shell, as another process's program would.
//
//   winport-post WINDOW MESSAGE WPARAM LPARAM           post one message
//   winport-post --notify WINDOW MESSAGE WPARAM LPARAM  answer a caller as an exporter ends:
//                                                       foreground, enable, post, enable again
//   winport-post --enable WINDOW 0|1                    enable (1) or disable (0) the window
//   winport-post --foreground WINDOW                    bring the window to the foreground
//
// Numbers are decimal; WPARAM and LPARAM may be negative (two's complement, 64 bits).
// Exit status: 0 delivered, 1 WINDOW is not a window (or its queue stayed full), 64 bad usage.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "winport/window.h"

namespace {

constexpr int kUsage = 64;

constexpr const char* kUsageText =
    "usage: winport-post WINDOW MESSAGE WPARAM LPARAM\n"
    "       winport-post --notify WINDOW MESSAGE WPARAM LPARAM\n"
    "       winport-post --enable WINDOW 0|1\n"
    "       winport-post --foreground WINDOW\n";

int Usage() {
  std::fputs(kUsageText, stderr);
  return kUsage;
}

// A whole decimal number; negative values of unsigned fields wrap as two's complement.
std::optional<std::uint64_t> ParseNumber(const char* text) {
  if (text[0] == '\0') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  std::uint64_t value;
  if (text[0] == '-') {
    value = static_cast<std::uint64_t>(std::strtoll(text, &end, 10));
  } else {
    value = std::strtoull(text, &end, 10);
  }
  if (errno != 0 || *end != '\0') return std::nullopt;
  return value;
}

int NotAWindow(const char* window) {
  std::fprintf(stderr, "winport-post: %s is not a window\n", window);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(kUsageText, stdout);
    std::fputs(
        "\nSends to a registered window as another process's program would: posts one message;\n"
        "--notify answers a caller as an exporter ends (foreground, enable, post, enable\n"
        "again). Numbers are decimal; WPARAM and LPARAM may be negative.\n"
        "Exit status: 0 delivered, 1 WINDOW is not a window, 64 bad usage.\n",
        stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::string mode = argc > 1 && argv[1][0] == '-' && argv[1][1] == '-' ? argv[1] : "";
  char** args = argv + (mode.empty() ? 1 : 2);
  int count = argc - (mode.empty() ? 1 : 2);

  const std::size_t expected = mode == "--enable"                   ? 2
                               : mode == "--foreground"             ? 1
                               : mode.empty() || mode == "--notify" ? 4
                                                                    : 0;
  if (expected == 0 || static_cast<std::size_t>(count) != expected) return Usage();
  std::optional<std::uint64_t> numbers[4];
  for (int i = 0; i < count; ++i) {
    numbers[i] = ParseNumber(args[i]);
    if (!numbers[i]) return Usage();
  }
  HWND window = HwndFromNumber(static_cast<long>(*numbers[0]));

  if (mode == "--foreground") {
    return SetForegroundWindow(window) ? 0 : NotAWindow(args[0]);
  }
  if (mode == "--enable") {
    if (*numbers[1] > 1) return Usage();
    if (!IsWindow(window)) return NotAWindow(args[0]);
    EnableWindow(window, *numbers[1] != 0 ? TRUE : FALSE);
    return 0;
  }
  if (*numbers[1] > UINT32_MAX) return Usage();
  UINT message = static_cast<UINT>(*numbers[1]);
  WPARAM wParam = static_cast<WPARAM>(*numbers[2]);
  LPARAM lParam = static_cast<LPARAM>(*numbers[3]);
  if (mode == "--notify") {
    if (!SetForegroundWindow(window)) return NotAWindow(args[0]);
    EnableWindow(window, TRUE);
    BOOL posted = PostMessageA(window, message, wParam, lParam);
    EnableWindow(window, TRUE);
    return posted ? 0 : NotAWindow(args[0]);
  }
  return PostMessageA(window, message, wParam, lParam) ? 0 : NotAWindow(args[0]);
}
