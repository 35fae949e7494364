// The entry point of every edition program: the framework runs the application object.
#include "app/ExportApp.h"
#include "winport/mfc.h"

int main(int argc, char** argv) {
  ExportApp app;
  return winport::AfxWinMain(app, argc, argv);
}
