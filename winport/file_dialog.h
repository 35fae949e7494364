// The framework's file dialog in save mode. The UI backend asks the person for a name
// (terminal, script or test); the dialog completes it the way the common dialog does and
// holds it to the flags, asking again after a refusal.
#pragma once

#include <string>

#include "winport/mfc.h"

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct OPENFILENAMEA {
  LPCSTR lpstrInitialDir = nullptr;  // the folder the dialog starts in
  LPCSTR lpstrTitle = nullptr;       // the dialog's title
  DWORD Flags = 0;
};

class CFileDialog {
 public:
  // Only the save mode (openFileDialog FALSE) is provided. `filter` is the framework's form,
  // "Name (*.ext)|*.ext||".
  CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
              LPCSTR filter, CWnd* parent);

  // IDOK with the chosen path, or IDCANCEL. A name is made absolute against the initial
  // folder; a name without an extension gets ".defaultExtension". Refused, with the common
  // dialog's notice, and asked again: a name Windows cannot hold, or a path of MAX_PATH bytes
  // or more once completed; with OFN_PATHMUSTEXIST a
  // folder that does not exist; with OFN_FILEMUSTEXIST a file that does not exist; with
  // OFN_OVERWRITEPROMPT an existing file the person does not want to replace. Without
  // OFN_NOCHANGEDIR the chosen folder becomes the current directory, as on Windows.
  INT_PTR DoModal();
  // The full path chosen (code page 932).
  std::string GetPathName() const { return path_; }

  OPENFILENAMEA m_ofn;

 private:
  std::string defaultExtension_;
  std::string fileName_;
  std::string filter_;
  CWnd* parent_;
  std::string path_;
};
