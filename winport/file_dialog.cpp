#include "winport/file_dialog.h"

#include <optional>

#include "winport/cp932.h"
#include "winport/files.h"
#include "winport/message_box.h"
#include "winport/ui_backend.h"
#include "winport/windows_path.h"

namespace {

std::string Text(LPCSTR text) { return text != nullptr ? text : ""; }

bool HasExtension(const std::string& name) {
  std::size_t dot = winport::cp932::FindLastChar(name, '.');
  return dot != std::string::npos && dot + 1 < name.size();
}

}  // namespace

CFileDialog::CFileDialog(BOOL /*openFileDialog*/, LPCSTR defaultExtension, LPCSTR fileName,
                         DWORD flags, LPCSTR filter, CWnd* parent)
    : defaultExtension_(Text(defaultExtension)),
      fileName_(Text(fileName)),
      filter_(Text(filter)),
      parent_(parent) {
  m_ofn.Flags = flags;
}

INT_PTR CFileDialog::DoModal() {
  winport::SaveFileRequest request;
  request.owner = parent_ != nullptr ? parent_->m_hWnd : nullptr;
  request.title = m_ofn.lpstrTitle != nullptr ? m_ofn.lpstrTitle : "名前を付けて保存";
  request.initialDirectory = Text(m_ofn.lpstrInitialDir);
  request.fileName = fileName_;
  request.defaultExtension = defaultExtension_;
  request.filter = filter_;
  request.flags = m_ofn.Flags;

  std::string base = request.initialDirectory;
  if (base.empty()) base = winport::CurrentWindowsDirectory().value_or("");
  for (;;) {
    std::optional<std::string> answer = winport::CurrentUiBackend().AskSaveFileName(request);
    if (!answer) return IDCANCEL;
    std::optional<winport::WindowsPath> resolved = winport::ResolveWindowsPath(*answer, base);
    const char* refusal = nullptr;
    if (answer->empty() || !resolved || resolved->names.empty() || resolved->trailingSeparator) {
      refusal = "ファイル名が正しくありません。";
    } else {
      std::string typed = resolved->ToString();
      DWORD typedAttributes = GetFileAttributesA(typed.c_str());
      if (typedAttributes != INVALID_FILE_ATTRIBUTES &&
          (typedAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        request.initialDirectory = typed + "\\";  // a folder name opens that folder
        base = typed;
        request.fileName.clear();
        continue;
      }
      std::string& name = resolved->names.back();
      if (!HasExtension(name) && !defaultExtension_.empty()) name += "." + defaultExtension_;
      std::string path = resolved->ToString();
      std::string folder = path.substr(0, winport::cp932::FindLastChar(path, '\\') + 1);
      DWORD folderAttributes = GetFileAttributesA(folder.c_str());
      DWORD attributes = GetFileAttributesA(path.c_str());
      const bool folderExists = folderAttributes != INVALID_FILE_ATTRIBUTES &&
                                (folderAttributes & FILE_ATTRIBUTE_DIRECTORY);
      const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
      if (path.size() >= static_cast<std::size_t>(MAX_PATH)) {
        // The common dialog's path buffer holds MAX_PATH bytes with the final NUL; a longer
        // path is refused here, not by the first file function that cannot take it.
        refusal = "ファイル名が正しくありません。";
      } else if ((m_ofn.Flags & OFN_PATHMUSTEXIST) && !folderExists) {
        refusal = "パスが存在しません。\nパスが正しいかどうかを確認してください。";
      } else if ((m_ofn.Flags & OFN_FILEMUSTEXIST) && !exists) {
        refusal = "ファイルが見つかりません。\nファイル名を確認して再実行してください。";
      } else if ((m_ofn.Flags & OFN_OVERWRITEPROMPT) && exists &&
                 ::MessageBoxA(request.owner,
                               (path + " は既に存在します。\n上書きしますか?").c_str(),
                               request.title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        continue;
      } else {
        path_ = path;
        if (!(m_ofn.Flags & OFN_NOCHANGEDIR)) SetCurrentDirectoryA(folder.c_str());
        return IDOK;
      }
    }
    ::MessageBoxA(request.owner, refusal, request.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
    request.fileName = *answer;
  }
}
