// dialog_demo: the conditions dialog's template with demonstration texts, to try the front
// ends by hand (WINPORT_UI=terminal) and in the end-to-end tests. Execute (the button, Enter
// on it, or F12) checks that the start month is 1..12 and asks before it closes; Browse asks
// for a file name in an existing folder, starting in the output field's folder, as the
// program's Browse does; the sign beside the saved-figures choice carries a tool-tip. At the end it
// prints "result=ID" and "edit ID=TEXT" for each edit (UTF-8), and exits with 0 after Execute, 1
// otherwise.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "winport/cp932.h"
#include "winport/dialog_window.h"
#include "winport/encoding.h"
#include "winport/file_dialog.h"
#include "winport/mfc_dialog.h"
#include "winport/tool_tips.h"

namespace {

class DemoDialog : public CDialog {
 public:
  DemoDialog() : CDialog(LoadDialogTemplate(IDD_CONDITIONS)) {
    OnCommandId(IDC_EXECUTE, [this] { Execute(); });
    OnCommandId(IDC_CANCEL, [this] { OnCancel(); });
    OnCommandId(IDC_BROWSE, [this] { Browse(); });
  }

  // The edits' ids and texts as the window closed.
  std::vector<std::pair<int, std::string>> edits;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    const std::pair<int, const char*> texts[] = {
        {IDC_COMPANY, " 株式会社見本商事"},
        {IDC_PERIOD, " 2019/04/01～2020/03/31"},
        {IDC_TAXATION, " 原則課税"},
        {IDC_DEDUCTION_CAPTION, "課税仕入控除"},
        {IDC_DEDUCTION, " 個別対応方式"},
        {IDC_START_MONTH, "4"},
        {IDC_END_MONTH, "3"},
        {IDC_OUTPUT_PATH, "C:\\TEMP\\*.xml"},
    };
    for (const auto& [id, text] : texts) GetDlgItem(id)->SetWindowTextA(text);
    SendDlgItemMessage(IDC_START_MONTH, EM_LIMITTEXT, 2);
    SendDlgItemMessage(IDC_END_MONTH, EM_LIMITTEXT, 2);
    SendDlgItemMessage(IDC_METHOD_JOURNAL, BM_SETCHECK, BST_CHECKED);
    GetDlgItem(IDC_METHOD_JOURNAL)->SetFocus();
    winport::AddToolTip(m_hWnd, IDC_TOOLTIP_ANCHOR, "入力・保存した申告書の情報を使用します。");
    return FALSE;
  }

  BOOL PreTranslateMessage(MSG* message) override {
    const bool modifiers =
        GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (message->message == WM_KEYDOWN && message->wParam == VK_F12 && !modifiers) {
      Execute();
      return TRUE;
    }
    return FALSE;
  }

  void OnDestroy() override {
    for (const auto& control : Window()->controls()) {
      if (control->IsEdit()) edits.emplace_back(control->id, control->text);
    }
  }

 private:
  void Execute() {
    std::string start;
    GetDlgItem(IDC_START_MONTH)->GetWindowTextA(start);
    int month = std::atoi(start.c_str());
    if (month < 1 || month > 12) {
      MessageBoxA("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。", "消費税",
                  MB_OK | MB_ICONEXCLAMATION);
      GetDlgItem(IDC_START_MONTH)->SetFocus();
      SendDlgItemMessage(IDC_START_MONTH, EM_SETSEL, 0, -1);
      return;
    }
    if (MessageBoxA("集計を実行しますか？", "消費税", MB_YESNO | MB_ICONQUESTION) == IDYES)
      EndDialog(IDC_EXECUTE);
  }

  void Browse() {
    std::string output;
    GetDlgItem(IDC_OUTPUT_PATH)->GetWindowTextA(output);
    const std::string folder = output.substr(0, winport::cp932::FindLastChar(output, '\\') + 1);
    CFileDialog dialog(FALSE, "XML", "*.xml",
                       OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST,
                       "Xml Files (*.xml)|*.xml||", this);
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    dialog.m_ofn.lpstrTitle = "保存ファイルを指定";
    if (dialog.DoModal() == IDOK)
      GetDlgItem(IDC_OUTPUT_PATH)->SetWindowTextA(dialog.GetPathName().c_str());
    GetDlgItem(IDC_EXECUTE)->SetFocus();
  }
};

constexpr const char* kUsage =
    "usage: dialog_demo\n"
    "Shows the conditions dialog's template with demonstration texts through the front end\n"
    "WINPORT_UI chooses (desktop, terminal, script:PATH; docs/winport.md), then prints\n"
    "result=ID and edit ID=TEXT; exit status 0 after Execute, 1 otherwise.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const bool asked = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
    std::fputs(kUsage, asked ? stdout : stderr);
    return asked ? 0 : 64;
  }
  DemoDialog dialog;
  INT_PTR result = dialog.DoModal();
  std::printf("result=%d\n", static_cast<int>(result));
  for (const auto& [id, text] : dialog.edits)
    std::printf("edit %d=%s\n", id, winport::Cp932ToUtf8(text).c_str());
  return result == IDC_EXECUTE ? 0 : 1;
}
