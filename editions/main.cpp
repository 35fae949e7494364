// The entry point of every edition program: the framework runs the application object of the
// edition this program was built as.
#include "app/ExportApp.h"
#include "app/edition.h"
#include "editions/edition_program.h"
#include "winport/mfc.h"

int main(int argc, char** argv) {
  ExportApp app(*EditionNamed(kEditionName));
  return winport::AfxWinMain(app, argc, argv);
}
