// The entry point of every edition program: the framework runs the application object of the
// edition this program was built as.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ExportApp.h"
#include "app/edition.h"
#include "app/handshake.h"
#include "editions/edition_program.h"
#include "winport/mfc.h"

namespace {

// How the program is meant to be started, for a person who started it by hand (who would
// otherwise meet only the cancel box of a run nobody asked for). ledvia-host sits beside the
// program, in build/bin/ as in the installed bin/, so the command names the folder the program
// was started from (none when the PATH found it).
void PrintHowToStart(std::FILE* stream, const std::string& started, const std::string& name) {
  std::string folder = started.substr(0, started.rfind('/') + 1);
  std::fprintf(stream,
               "%s is started by the accounting product with its handshake; by hand, start it\n"
               "through ledvia-host: %sledvia-host [options] -- %s\n"
               "(in the source tree also: scripts/run-sample.sh %s)\n",
               name.c_str(), folder.c_str(), started.c_str(), name.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string started = argc > 0 ? argv[0] : "";
  const std::string name = started.substr(started.rfind('/') + 1);
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("usage: %s WINDOW,MESSAGE,FUNCTION,PATH\n", name.c_str());
    PrintHowToStart(stdout, started, name);
    return 0;
  }
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += std::string(i > 1 ? " " : "") + argv[i];
  if (!ParseHandshake(arguments).present) PrintHowToStart(stderr, started, name);
  ExportApp app(*EditionNamed(kEditionName));
  return winport::AfxWinMain(app, argc, argv);
}
