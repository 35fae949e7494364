#include "winport/terminal/terminal_screen.h"

#include <curses.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace winport {
namespace {

// How long a key may follow Escape and still count as Meta (Alt+key): terminals send both at
// once, a person pressing Esc and then a letter is far slower.
constexpr int kMetaWaitMs = 20;
// How long ncurses waits to tell a lone Escape from the start of a key's sequence.
constexpr int kEscapeDelayMs = 25;

SCREEN* g_screen = nullptr;
volatile std::sig_atomic_t g_active = 0;

void RestoreTerminal() {
  if (g_active != 0) {
    g_active = 0;
    endwin();
  }
}

// A crash must not leave the terminal without echo and in the alternate screen: restore it,
// then let the signal do what it would have done.
void OnFatalSignal(int signal) {
  RestoreTerminal();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallRestorers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(RestoreTerminal);
  // Only where nobody else (a sanitizer, the program) handles the signal already.
  for (int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
      std::signal(signal, OnFatalSignal);
  }
}

unsigned CursesAttr(unsigned attr) {
  unsigned out = A_NORMAL;
  if (attr & kAttrBold) out |= A_BOLD;
  if (attr & kAttrUnderline) out |= A_UNDERLINE;
  if (attr & kAttrDim) out |= A_DIM;
  if (attr & kAttrReverse) out |= A_REVERSE;
  return out;
}

}  // namespace

TerminalScreen::~TerminalScreen() { Leave(); }

bool TerminalScreen::Enter() {
  if (active_) return true;
  if (failed_) return false;
  if (g_screen == nullptr) {
    const char* why = nullptr;
    std::FILE* in = std::fopen("/dev/tty", "r");
    std::FILE* out = std::fopen("/dev/tty", "w");
    if (in == nullptr || out == nullptr) {
      why = "no controlling terminal";
    } else if (!UseUtf8Ctype()) {
      why = "no UTF-8 locale";
    } else {
      InstallRestorers();  // before ncurses, which would take SIGINT and SIGTERM itself
      set_escdelay(kEscapeDelayMs);
      g_screen = newterm(nullptr, out, in);
      if (g_screen == nullptr) why = "unknown terminal type (TERM)";
    }
    if (why != nullptr) {
      if (in != nullptr) std::fclose(in);
      if (out != nullptr) std::fclose(out);
      failed_ = true;
      std::fprintf(stderr, "winport: cannot show dialogs on the terminal: %s\n", why);
      return false;
    }
    set_term(g_screen);
    set_escdelay(kEscapeDelayMs);
    // Raw, as a window's keyboard is: Ctrl+C and the other control keys reach the dialog
    // (Ctrl+C copies in an edit, Ctrl+Z undoes) instead of ending or suspending the run; Esc
    // is the way out. The shell's modes come back whenever the terminal is given back.
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    intrflush(stdscr, FALSE);
  } else {
    // Back from the shell's screen: draw everything anew.
    reset_prog_mode();
    clearok(curscr, TRUE);
  }
  active_ = true;
  g_active = 1;
  return true;
}

void TerminalScreen::Leave() {
  if (!active_) return;
  active_ = false;
  RestoreTerminal();
}

int TerminalScreen::rows() const { return active_ ? LINES : 0; }
int TerminalScreen::cols() const { return active_ ? COLS : 0; }

void TerminalScreen::Show(const TextCanvas& canvas, std::optional<Caret> caret) {
  if (!active_) return;
  for (int row = 0; row < canvas.rows() && row < LINES; ++row) {
    for (int col = 0; col < canvas.cols() && col < COLS; ++col) {
      const TextCanvas::Cell& cell = canvas.at(row, col);
      if (cell.trailing) continue;
      wchar_t text[2] = {cell.ch, L'\0'};
      cchar_t shown;
      setcchar(&shown, text, CursesAttr(cell.attr), 0, nullptr);
      mvadd_wch(row, col, &shown);  // the last cell of the screen reports ERR, yet is drawn
    }
  }
  if (caret) {
    curs_set(1);
    move(caret->row, caret->col);
  } else {
    curs_set(0);
  }
  refresh();
}

std::optional<TerminalKey> TerminalScreen::ReadKey(bool* closed) {
  *closed = false;
  if (!active_) {
    *closed = true;
    return std::nullopt;
  }
  wint_t code = 0;
  int kind = wget_wch(stdscr, &code);
  if (kind == ERR) {
    *closed = true;
    return std::nullopt;
  }
  if (kind == KEY_CODE_YES && code == KEY_RESIZE) return std::nullopt;
  TerminalKey key{kind == KEY_CODE_YES, static_cast<unsigned>(code), false};
  if (!key.isKeyCode && code == 27) {
    wint_t next = 0;
    timeout(kMetaWaitMs);
    int nextKind = wget_wch(stdscr, &next);
    timeout(-1);
    if (nextKind != ERR && !(nextKind == KEY_CODE_YES && next == KEY_RESIZE))
      key = TerminalKey{nextKind == KEY_CODE_YES, static_cast<unsigned>(next), true};
  }
  return key;
}

void TerminalScreen::Beep() {
  if (active_) beep();
}

}  // namespace winport
