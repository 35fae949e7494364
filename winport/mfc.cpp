#include "winport/mfc.h"

#include <cstdio>
#include <map>
#include <memory>

#include "winport/encoding.h"

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  static std::map<HWND, std::unique_ptr<CWnd>> objects;
  std::unique_ptr<CWnd>& object = objects[hwnd];
  if (!object) {
    object = std::make_unique<CWnd>();
    object->m_hWnd = hwnd;
  }
  return object.get();
}

namespace winport {

std::string CommandLineTail(int argc, char** argv) {
  std::string utf8;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) utf8.push_back(' ');
    utf8 += argv[i];
  }
  if (std::optional<std::string> exact = Utf8ToCp932Exact(utf8)) return *exact;
  std::fprintf(stderr, "warning: the command line holds characters without a code page 932 form\n");
  return Utf8ToCp932(utf8);
}

int AfxWinMain(CWinApp& app, int argc, char** argv) {
  app.m_lpCmdLine = CommandLineTail(argc, argv);
  app.InitInstance();
  // With or without a successful start-up there is no main window, so the message loop, if
  // it runs at all, quits at once; either way the end hook gives the exit code.
  return app.ExitInstance();
}

}  // namespace winport
